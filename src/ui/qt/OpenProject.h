#pragma once

#include "core/MainSurface.h"
#include "ui/qt/FormRenderer.h"

#include <QMainWindow>
#include <QProgressBar>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zembrel {

class MainCommands;

// The main window, built from its description: the client area under the menu bar keeps its
// size. Its position is in twips, at 15 twips to a logical pixel.
class OpenProject final : public QMainWindow, public MainSurface {
public:
    explicit OpenProject(QWidget* parent = nullptr);

    // Connects the buttons, the menus and the window's close to the commands.
    void attach(MainCommands& commands);

    void setResults(const std::string& text) override;
    void redrawResults() override;
    void setControlEnabled(std::string_view name, bool enabled) override;
    void setPurgeCaption(const std::string& caption) override;
    void setFileName(const std::string& name) override;
    void setProgress(std::optional<int> thousandths) override;
    void closeWindow() override;
    void setPosition(float top, float left) override;
    float top() const override;
    float left() const override;
    void setVoiceChecked(bool checked) override;
    // Gives the keyboard focus to the first control of the keyboard order (Done).
    void focusFirstControl();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Moves the window onto the nearest screen when none shows its title bar.
    void keepReachable();

    QWidget* m_client = nullptr;
    FormRenderer m_form;
    QPushButton* m_purge = nullptr;
    QLineEdit* m_fileName = nullptr;
    QLabel* m_resultsLabel = nullptr;
    QAction* m_voice = nullptr;
    // The position as the settings gave it: read back unchanged while the window stays there.
    float m_topTwips = 0;
    float m_leftTwips = 0;
    MainCommands* m_commands = nullptr;
    QProgressBar* m_progress = nullptr;
};

} // namespace zembrel
