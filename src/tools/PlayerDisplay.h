#pragma once
#include <QString>

// The player's position line: the lowest byte of the position as the track
// ("%.2d"), the next two as minutes and seconds ("%.2d:%.2d"). For a CD in
// the track-minute-second-frame format that reads "03" and "02:05"; for any
// other format the same bytes are shown as they are.
struct PlayerPositionTexts {
    QString track;
    QString time;
};

PlayerPositionTexts playerPositionTexts(quint32 position);
