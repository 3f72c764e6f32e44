#include "DravikKernel/DravikDialog.h"

#include "DravikKernel/DravikServerAppProxy.h"

#include "afxres.h"

IMPLEMENT_DYNAMIC(CDravikDialog, CDialog)

BEGIN_MESSAGE_MAP(CDravikDialog, CDialog)
ON_COMMAND(ID_HELP, &CDravikDialog::OnHelp)
END_MESSAGE_MAP()

void CDravikDialog::OnHelp() {
    DravikServerAppProxy* app = DravikServerAppProxy::Instance();
    if (app != nullptr && app->GetHelpContextId() != 0)
        app->ShowCurrentHelpTopic();
}
