#pragma once
#include <QObject>
#include <QString>
#include <memory>

#include "core/ports/Seams.h"

class QSoundEffect;

namespace zf {

// Plays WAV files with Qt Multimedia. Many requests within one pass of the event loop
// (a hit check over a long list) start the sound once.
class QtSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    explicit QtSoundPlayer(QObject* parent = nullptr);
    ~QtSoundPlayer() override;
    void play(const std::string& wavPath) override;

private:
    void playPending();
    std::unique_ptr<QSoundEffect> effect_;
    QString pending_;
    bool scheduled_ = false;
};

} // namespace zf
