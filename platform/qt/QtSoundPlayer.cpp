#include "platform/qt/QtSoundPlayer.h"

#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace zf {

QtSoundPlayer::QtSoundPlayer(QObject* parent) : QObject(parent) {}
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const std::string& wavPath) {
    pending_ = QString::fromStdString(wavPath);
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] { playPending(); });
}

void QtSoundPlayer::playPending() {
    scheduled_ = false;
    if (!effect_) effect_ = std::make_unique<QSoundEffect>();
    const QUrl url = QUrl::fromLocalFile(pending_);
    if (effect_->source() != url) effect_->setSource(url);
    effect_->stop();
    effect_->play();
}

} // namespace zf
