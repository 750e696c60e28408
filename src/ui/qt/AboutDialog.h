#pragma once

#include "core/FormSurface.h"
#include "ui/qt/FormRenderer.h"

#include <QDialog>

#include <functional>

namespace zembrel {

// frmAbout, built from its description: OK closes it (Enter, Escape and the close box too),
// "&System Info..." runs sysInfo.
class AboutDialog final : public QDialog, public FormSurface {
public:
    AboutDialog(std::function<void()> sysInfo, QWidget* parent = nullptr);

    void setCaption(const std::string& caption) override;
    void setText(const std::string& key, const std::string& text) override;
    std::string text(const std::string& key) const override;

private:
    FormRenderer m_form;
};

} // namespace zembrel
