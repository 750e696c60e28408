#include "ui/qt/FrmSplash.h"

#include "info/FrmSplashForm.h"
#include "ui/qt/FormRenderer.h"

#include <QGuiApplication>
#include <QScreen>

namespace zembrel {

FrmSplash::FrmSplash(QWidget* parent)
    : QWidget(parent, FormRenderer::windowFlags(frmSplashForm()) | Qt::SplashScreen |
                          Qt::WindowDoesNotAcceptFocus) {
    const FormDescription& form = frmSplashForm();
    FormRenderer::nameWindow(form, *this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    FormRenderer{form, *this}; // nothing here changes later: the lookup is not kept

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

} // namespace zembrel
