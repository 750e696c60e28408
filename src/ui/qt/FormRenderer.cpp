#include "ui/qt/FormRenderer.h"

#include <QAction>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

// The pictures that descriptions name are compiled into this library; a static library must
// register them itself.
static void registerPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace zembrel {

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

QRect pixels(const TwipRect& twips) {
    return {twipsToPixels(twips.left), twipsToPixels(twips.top), twipsToPixels(twips.width),
            twipsToPixels(twips.height)};
}

// A picture at its own size: a part outside the label's rectangle is cut off.
QLabel* newPicture(const std::string& name, QWidget* parent) {
    registerPictures();
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(QStringLiteral(":/") + text(name)));
    return label;
}

QLabel* newLabel(const ControlDescription& control, QWidget* parent) {
    auto* label = new QLabel(text(control.caption), parent);
    label->setTextFormat(Qt::PlainText);
    if (control.multiLine) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (control.edge == LabelEdge::Sunken)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else if (control.edge == LabelEdge::Etched)
        label->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return label;
}

// An etched line, or a line of one colour filling its rectangle.
QFrame* newLine(const ControlDescription& control, QWidget* parent) {
    auto* line = new QFrame(parent);
    if (control.color) {
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(*control.color));
        line->setPalette(palette);
        line->setAutoFillBackground(true);
        return line;
    }
    line->setFrameShape(control.rect.width >= control.rect.height ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QPushButton* newButton(const ControlDescription& control, QWidget* parent) {
    auto* button = new QPushButton(text(control.caption), parent);
    // In a dialog, Enter presses the default button.
    if (control.isDefault)
        button->setDefault(true);
    if (control.isCancel) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), button);
        QObject::connect(escape, &QShortcut::activated, button, &QPushButton::click);
    }
    return button;
}

QWidget* newWidget(const ControlDescription& control, QWidget* parent) {
    switch (control.kind) {
    case ControlKind::Button: return newButton(control, parent);
    case ControlKind::Label: return newLabel(control, parent);
    case ControlKind::TextBox: return new QLineEdit(text(control.caption), parent);
    case ControlKind::OptionButton: return new QRadioButton(text(control.caption), parent);
    case ControlKind::Frame: return new QGroupBox(text(control.caption), parent);
    case ControlKind::Picture: return newPicture(control.picture, parent);
    case ControlKind::Line: return newLine(control, parent);
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, 1000);
        bar->setTextVisible(false);
        return bar;
    }
    }
    return new QWidget(parent);
}

} // namespace

QIcon FormRenderer::productIcon() {
    registerPictures();
    return QIcon(QStringLiteral(":/ZembrelPOBS-256.png"));
}

Qt::WindowFlags FormRenderer::windowFlags(const FormDescription& form) {
    switch (form.border) {
    case BorderStyle::Single: return Qt::Window;
    case BorderStyle::Dialog:
        return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
               Qt::WindowCloseButtonHint;
    case BorderStyle::None: return Qt::FramelessWindowHint;
    }
    return Qt::Window;
}

void FormRenderer::nameWindow(const FormDescription& form, QWidget& window) {
    window.setObjectName(text(form.name));
    window.setWindowTitle(text(form.caption));
}

FormRenderer::FormRenderer(const FormDescription& form, QWidget& client, QMenuBar* menuBar) {
    const QSize size(twipsToPixels(form.clientWidth), twipsToPixels(form.clientHeight));
    if (form.fixedSize)
        client.setFixedSize(size);
    else
        client.resize(size);
    if (!form.picture.empty()) {
        m_picture = newPicture(form.picture, &client);
        m_picture->setGeometry(QRect(QPoint(0, 0), m_picture->pixmap().size()));
    }
    for (const ControlDescription& control : form.controls)
        buildControl(control, client);
    setKeyboardOrder(form);
    if (menuBar)
        buildMenus(form, *menuBar);
}

QWidget* FormRenderer::control(const std::string& key) const {
    const auto found = m_controls.find(key);
    return found == m_controls.end() ? nullptr : found->second;
}

QAction* FormRenderer::action(const std::string& name) const {
    const auto found = m_actions.find(name);
    return found == m_actions.end() ? nullptr : found->second;
}

void FormRenderer::buildControl(const ControlDescription& control, QWidget& client) {
    // The frames come before the controls they hold; one that is not built yet holds nothing.
    QWidget* parent = &client;
    if (auto* frame = qobject_cast<QGroupBox*>(this->control(control.container)))
        parent = frame;
    QWidget* widget = newWidget(control, parent);
    widget->setObjectName(text(control.key()));
    widget->setGeometry(pixels(control.rect));
    if (!control.tooltip.empty())
        widget->setToolTip(text(control.tooltip));
    widget->setEnabled(control.enabled);
    if (!control.visible)
        widget->hide();
    if (control.emphasis == FontEmphasis::Bold || control.fontPoints > 0) {
        QFont font = widget->font();
        font.setBold(control.emphasis == FontEmphasis::Bold);
        if (control.fontPoints > 0)
            font.setPointSizeF(control.fontPoints);
        widget->setFont(font);
    }
    m_controls[control.key()] = widget;
}

void FormRenderer::setKeyboardOrder(const FormDescription& form) {
    QWidget* previous = nullptr;
    bool focused = false;
    for (const ControlDescription* described : form.keyboardOrder()) {
        QWidget* next = control(described->key());
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
        // The window opens with the focus on the first control that can take it.
        if (!focused && described->enabled) {
            next->setFocus();
            focused = true;
        }
    }
}

void FormRenderer::buildMenus(const FormDescription& form, QMenuBar& menuBar) {
    for (const MenuDescription& described : form.menus) {
        QMenu* menu = menuBar.addMenu(text(described.caption));
        menu->setObjectName(text(described.name));
        menu->menuAction()->setObjectName(text(described.name));
        m_actions[described.name] = menu->menuAction();
        for (const MenuEntry& entry : described.entries) {
            QAction* action =
                entry.separator ? menu->addSeparator() : menu->addAction(text(entry.caption));
            action->setObjectName(text(entry.name));
            action->setCheckable(entry.checkable);
            m_actions[entry.name] = action;
        }
    }
}

} // namespace zembrel
