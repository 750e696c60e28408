#include "platform/qt/QtSoundPlayer.h"

#include <QSoundEffect>
#include <QString>
#include <QUrl>

namespace zembrel {

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const std::string& path) {
    // Created on first use, once the application object (and its event loop) exists.
    if (!m_effect)
        m_effect = std::make_unique<QSoundEffect>();
    m_effect->stop();
    m_effect->setSource(QUrl::fromLocalFile(
        QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()))));
    // Plays as soon as the file is loaded; a file that cannot be loaded stays silent.
    m_effect->play();
}

std::string QtSoundPlayer::currentPath() const {
    if (!m_effect)
        return {};
    return m_effect->source().toLocalFile().toLocal8Bit().toStdString();
}

} // namespace zembrel
