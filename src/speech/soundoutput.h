#pragma once

#include <QtPlugin>

class QObject;

// Playing sound takes Qt Multimedia, the sound server's client and the codecs it brings: thirteen
// shared libraries that a dictionary lookup never needs. They live in a module of their own,
// loaded with the first pronunciation. The module makes players; everything else goes through the
// player's slots play(QByteArray samples, int sampleRate) (signed 16-bit mono; a new sound stops
// the one playing) and stop(), and its signals started(), sent as the first samples are handed
// to the sound device, and unavailable(QString), sent when there is no sound output, with why.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;

    // A player on the default sound output, owned by parent.
    virtual QObject *createPlayer(QObject *parent) = 0;
};

#define SoundOutput_iid "example.tavrel.SoundOutput/1.0"
Q_DECLARE_INTERFACE(SoundOutput, SoundOutput_iid)
