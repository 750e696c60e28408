#include "platform/qt/QtMessageBoxes.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace zembrel {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer QtMessageBoxes::show(const std::string& text, MessageButtons buttons,
                                   MessageIcon icon, const std::string& title) {
    QWidget* parent = m_parent && m_parent->isVisible() ? m_parent.data() : nullptr;
    QMessageBox box(qtIcon(icon), QString::fromLocal8Bit(title), QString::fromLocal8Bit(text),
                    QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    // A window manager cuts a title wider than the box ("Pl…rd"): room for the title in the
    // title bar's font, which is commonly larger and bold, and for the title bar's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const int room = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) * 3 / 2 +
                         box.fontMetrics().height() * 8;
        grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    const int pressed = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace zembrel
