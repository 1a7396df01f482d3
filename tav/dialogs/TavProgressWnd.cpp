// The bulk correction's progress window.
#include "tav/dialogs/TavProgressWnd.h"

TavProgressWnd::TavProgressWnd() : KesProgressDialog(1) {}

TavProgressWnd::~TavProgressWnd() = default;

int TavProgressWnd::Create(const char* caption, plat::Wnd* parent)
{
    // A window already made keeps its caption: the Create that fails takes nothing of it.
    if (IsWindow())
        return 0;
    SetMessage("処理中...");
    // Given before the window is made, so that it is the window's caption from its first
    // showing on.
    SetCaption(caption != nullptr ? caption : "");
    return KesProgressDialog::Create(parent, 0) ? 1 : 0;
}
