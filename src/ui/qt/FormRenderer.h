#pragma once

#include "core/Form.h"

#include <QWidget>

#include <map>
#include <string>

class QAction;
class QIcon;
class QLabel;
class QMenuBar;
class QPixmap;

namespace zembrel {

// Builds Qt widgets from a form description and finds them again by their keys. Each control
// becomes a child widget whose objectName is its key, at its rectangle in logical pixels; a frame
// becomes a QGroupBox holding the controls that sit in it; each menu becomes a QMenu in the menu
// bar, and each of its entries a QAction named as described. The widgets belong to the client
// area they are built in; the renderer only finds them.
class FormRenderer {
public:
    // The product icon, the window icon of every window.
    static QIcon productIcon();
    // A picture among the program's resources, at twice its size (name@2x) for a screen that
    // scales by more than 1, where there is one.
    static QPixmap picture(const std::string& name, qreal devicePixelRatio);

    // The window flags of the form's border style, to build its window with.
    static Qt::WindowFlags windowFlags(const FormDescription& form);
    // Names the window after the form and gives it the form's caption.
    static void nameWindow(const FormDescription& form, QWidget& window);

    // Builds the controls into client, which takes the size of the client area, sets the
    // keyboard order and the focus on its first enabled control, and builds the menus into
    // menuBar when one is given.
    FormRenderer(const FormDescription& form, QWidget& client, QMenuBar* menuBar = nullptr);

    // The control of that key, or null.
    QWidget* control(const std::string& key) const;
    template <typename T> T* control(const std::string& key) const {
        return qobject_cast<T*>(control(key));
    }
    // The menu entry, or the menu's own action, of that name, or null.
    QAction* action(const std::string& name) const;
    // The form's picture under the controls, or null.
    QLabel* picture() const { return m_picture; }

private:
    void buildControl(const ControlDescription& control, QWidget& client);
    void buildMenus(const FormDescription& form, QMenuBar& menuBar);
    void setKeyboardOrder(const FormDescription& form);
    // The options of a container choose one another away; Enter in a text box clicks what it
    // names.
    void connectOptionsAndEnter(const FormDescription& form);

    std::map<std::string, QWidget*> m_controls;
    std::map<std::string, QAction*> m_actions;
    QLabel* m_picture = nullptr;
};

} // namespace zembrel
