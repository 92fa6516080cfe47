// SPDX-License-Identifier: GPL-3.0-or-later
// The About window.
#pragma once

#include <QDialog>

class QLabel;

namespace gk {

// The About window: the program's icon, name and version over a picture of its own.
class Infoform : public QDialog {
    Q_OBJECT
  public:
    explicit Infoform(QWidget* parent = nullptr);
    QLabel* text() const { return Label1_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* Image1_ = nullptr;
    QLabel* Label1_ = nullptr;
};

} // namespace gk
