// The modeless progress window of long operations: a message line over a bar. Every
// operation is harmless when the window could not be made or is gone.
#pragma once

#include "components/support/KesDialog.h"

#include <string>
#include <string_view>

namespace plat {
class ProgressCtrl;
}

class KesProgressDialog : public KesDialog {
public:
    // showPercent: a line under the bar gives the position in per cent.
    explicit KesProgressDialog(plat::BOOL showPercent = FALSE);
    ~KesProgressDialog() override;

    // Makes and shows the window over the parent; disableParent: the parent takes no input
    // while the window exists. FALSE when the window could not be made.
    plat::BOOL Create(plat::Wnd* parent, plat::BOOL disableParent = FALSE);
    // The message line; kept for a window made later. Empty shows the standard request to
    // wait.
    void SetMessage(std::string_view text);
    void SetRange(int low, int high);
    int SetStep(int step);
    int SetPos(int position);
    int StepIt();

    plat::BOOL OnInitDialog() override;
    void OnDestroy() override;
    // Escape does not end an operation that runs elsewhere.
    void OnCancel() override {}

private:
    plat::ProgressCtrl* Bar() const;
    void ShowMessage();
    void ShowPercent();

    std::string m_message;
    bool m_showPercent;
    plat::WndRef m_disabledParent;
};
