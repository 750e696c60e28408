#include "ui/qt/FormRenderer.h"

#include <QAction>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <vector>

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
    auto* label = new QLabel(parent);
    label->setPixmap(FormRenderer::picture(name, parent->devicePixelRatioF()));
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

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Enter presses the button that has the focus, in every window, as on Windows. No button is a
// default one unless the form says so: a dialog would otherwise make its first button one, and
// Enter in a text box would press it.
class PushButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (isEnter(event) && !event->isAutoRepeat())
            click();
        else
            QPushButton::keyPressEvent(event);
    }
};

// An option button whose choice is made only by a click, Space or its access key: the arrow keys
// move the focus to the next or previous option and choose nothing. It is chosen, never
// unchosen, by a click; the renderer unchooses the others of its ring (its container).
class OptionButton final : public QRadioButton {
public:
    OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
        // Qt's own exclusive options would take the focus policy of all but the chosen one, and
        // the arrows would choose.
        setAutoExclusive(false);
    }
    std::vector<QWidget*> ring;
    QWidget* next = nullptr;
    QWidget* previous = nullptr;

protected:
    void nextCheckState() override { setChecked(true); }
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Right) && next)
            next->setFocus(Qt::TabFocusReason);
        else if ((key == Qt::Key_Up || key == Qt::Key_Left) && previous)
            previous->setFocus(Qt::BacktabFocusReason);
        else
            QRadioButton::keyPressEvent(event);
    }
};

QPushButton* newButton(const ControlDescription& control, QWidget* parent) {
    auto* button = new PushButton(text(control.caption), parent);
    button->setAutoDefault(false);
    // In a dialog, Enter where no button has the focus presses the default button.
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
    case ControlKind::TextBox: {
        auto* box = new QLineEdit(text(control.caption), parent);
        box->setReadOnly(control.readOnly);
        return box;
    }
    case ControlKind::OptionButton: return new OptionButton(text(control.caption), parent);
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

QPixmap FormRenderer::picture(const std::string& name, qreal devicePixelRatio) {
    registerPictures();
    const QString file = QStringLiteral(":/") + text(name);
    if (devicePixelRatio > 1) {
        QString doubled = file;
        doubled.insert(doubled.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
        QPixmap sharp(doubled);
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    return QPixmap(file);
}

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
        m_picture->setGeometry(
            QRect(QPoint(0, 0), m_picture->pixmap().deviceIndependentSize().toSize()));
    }
    for (const ControlDescription& control : form.controls)
        buildControl(control, client);
    setKeyboardOrder(form);
    connectOptionsAndEnter(form);
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

void FormRenderer::connectOptionsAndEnter(const FormDescription& form) {
    std::vector<const ControlDescription*> options;
    for (const ControlDescription* described : form.keyboardOrder())
        if (described->kind == ControlKind::OptionButton)
            options.push_back(described);
    for (const ControlDescription* described : options) {
        auto* option = static_cast<OptionButton*>(control(described->key()));
        for (const ControlDescription* other : options)
            if (other->container == described->container)
                option->ring.push_back(control(other->key()));
        option->next = control(form.nextOption(*described, false).key());
        option->previous = control(form.nextOption(*described, true).key());
        // Once an option is chosen, Tab stops at it alone among the options of its container,
        // as in a Windows dialog; the arrows still go round all of them.
        QObject::connect(option, &QRadioButton::toggled, option, [option](bool chosen) {
            if (!chosen) // only ever by the choice of another option
                return;
            for (QWidget* other : option->ring)
                if (other != option)
                    static_cast<OptionButton*>(other)->setChecked(false);
            for (QWidget* other : option->ring)
                other->setFocusPolicy(other == option ? Qt::StrongFocus : Qt::ClickFocus);
        });
    }
    for (const ControlDescription& described : form.controls) {
        auto* box = qobject_cast<QLineEdit*>(control(described.key()));
        auto* target = qobject_cast<QAbstractButton*>(control(described.enterClicks));
        if (box && target)
            QObject::connect(box, &QLineEdit::returnPressed, target, &QAbstractButton::click);
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
