// SPDX-License-Identifier: GPL-3.0-or-later
// A file system whose folder listings wait until the test opens its gate.
#pragma once

#include "platform/qt_file_system.h"

#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace gk::test {

// The real file system, except that listing a folder waits until the test opens the gate (30 s
// at most): it holds up the reading of the track details in the background.
class GatedFiles : public QtFileSystem {
  public:
    std::vector<FolderEntry> listFolderWithStamp(const QString& path, FileStamp& stamp) override {
        if (only.isEmpty() || path.contains(only)) {
            ++waiting;
            EXPECT_EQ(gate_.wait_for(std::chrono::seconds(30)), std::future_status::ready)
                << "the gate was never opened";
        }
        return QtFileSystem::listFolderWithStamp(path, stamp);
    }
    void open() {
        if (!opened_.exchange(true))
            opener_.set_value();
    }
    // Waits (10 s at most) until a listing waits at the gate.
    bool reached() const {
        for (int i = 0; i < 1000 && waiting == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return waiting > 0;
    }
    std::atomic<int> waiting = 0;
    QString only; // when set, only the listings of paths that contain it wait

  private:
    std::promise<void> opener_;
    std::shared_future<void> gate_ = opener_.get_future().share();
    std::atomic<bool> opened_ = false;
};

} // namespace gk::test
