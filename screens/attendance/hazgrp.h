#pragma once

#include "actions/attendance/attendanceaction.h"

#include <QDialog>
#include <array>

class QPushButton;
class xtext;

// "Hazirun Grup Ayarları": the start and end code of the ten page groups,
// read from the company's group file and written back all together.
class hazgrp : public QDialog {
    Q_OBJECT
  public:
    explicit hazgrp(Session &session, QWidget *parent = nullptr);

    // " Kaydet ": all twenty codes written, then the screen closes.
    void kaydet();

  private:
    Session &m_session;
    std::array<xtext *, attendance::GroupCount> m_start{}, m_end{};
    QPushButton *m_kaydet, *m_cikis;
};
