#include "tools/PlayerDisplay.h"

PlayerPositionTexts playerPositionTexts(quint32 position)
{
    const int low = int(position & 0xFF);
    const int second = int((position >> 8) & 0xFF);
    const int third = int((position >> 16) & 0xFF);
    return {QString::asprintf("%.2d", low), QString::asprintf("%.2d:%.2d", second, third)};
}
