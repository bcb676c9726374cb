#pragma once

#include "actions/attendance/attendanceaction.h"

#include <QDialog>
#include <array>

class ScreenContext;
class QPushButton;
class xtext;

// "Hazirun Grup Ayarları": the start and end code of the ten page groups,
// read from the company's group file and written back all together.
class hazgrp : public QDialog {
    Q_OBJECT
  public:
    explicit hazgrp(ScreenContext &context, QWidget *parent = nullptr);

    // " Kaydet ": all twenty codes written, then the screen closes.
    void kaydet();

  private:
    ScreenContext &m_context;
    std::array<xtext *, attendance::GroupCount> m_start{}, m_end{};
    QPushButton *m_kaydet, *m_cikis;
};
