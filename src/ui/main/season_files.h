#pragma once

#include "app/partial_load_guard.h"
#include "form_context.h"

#include <QByteArray>
#include <QString>

namespace gk {

// The season files: the load of the lists from them, "Create 67season.ini" with its checks, the
// writes in the list's or in alphabetical order (of the season or of a track set), and the
// check box that chooses the order.
class SeasonFiles {
  public:
    explicit SeasonFiles(FormContext& ctx) : ctx_(ctx) {}

    void cmdMakeIni_Click();
    void chkSort_Click();
    void subGet67season(const QString& strFile = {});
    void subCreateIniFiles(bool bolMute = false);
    void subSortByList(const QString& strFile = {});
    void subSortByAlphabet(const QString& strFile = {});

  private:
    void writeTrackSetFile(const QString& name, const QByteArray& bytes);

    FormContext& ctx_;
    PartialLoadGuard loadGuard_;
};

} // namespace gk
