// The About box: fixed texts, closed with its only button, Enter or Esc.
#pragma once

#include "framework/CDialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
