#pragma once

#include "core/Form.h"
#include "media/PlayerRows.h"
#include "media/VideoSetSurface.h"
#include "ui/qt/FormRenderer.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QLineEdit;

namespace zembrel {

// The video player selection window, built from its description. A click on an option (by
// mouse, Space or access key), or Enter in its row's text box, tells onChoice its index, also
// when it is already selected, so that a path typed since is taken; the arrow keys and Tab only
// move the focus. "&Exit", the close box and Escape close the window; Enter closes it only on
// "&Exit".
class FrmVideoSet final : public QDialog, public VideoSetSurface {
public:
    explicit FrmVideoSet(const PlayerRows& players, QWidget* parent = nullptr);

    std::function<void(int option)> onChoice;

    // What a row's text box shows: the bytes set last, as long as the user has not edited them
    // (a path need not be valid text), else what the user typed.
    std::string rowText(int option) const override;
    void setRowText(int option, const std::string& text) override;

private:
    FormDescription m_description;
    FormRenderer m_form;
    std::array<QLineEdit*, 4> m_boxes{};
    std::array<std::string, 4> m_set{};
};

} // namespace zembrel
