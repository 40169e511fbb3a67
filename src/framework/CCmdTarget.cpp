// Command routing base.
#include "framework/CCmdTarget.h"

bool CCmdTarget::OnCmdMsg(UINT, CCmdUI*)
{
    return false;
}
