// The application object: profile, recent files, the one document template, shell
// registration, the command line and the About box.
#pragma once

#include "framework/docview/CWinApp.h"

class CKorvaneApp : public CWinApp {
public:
    bool InitInstance() override;
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    void OnAppAbout();

private:
    // A backup left by a run that did not end is offered: restored as an unsaved document,
    // or removed.
    void OfferRecovery();
};

CKorvaneApp& TheApp();
