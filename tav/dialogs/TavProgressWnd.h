/// @file
/// The small progress window of a bulk correction: the support library's progress dialog with
/// the caller's caption over the fixed line "処理中...".
#pragma once

#include "components/support/KesProgressDialog.h"

class TavProgressWnd : public KesProgressDialog {
public:
    TavProgressWnd();
    ~TavProgressWnd() override;

    /// Shows the window over the parent with the caption; 0 (caption not set) when the window
    /// could not be made, after which range and position changes do nothing.
    [[nodiscard]] int Create(const char* caption, plat::Wnd* parent);
};
