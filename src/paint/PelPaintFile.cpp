// Picture files, sizes, display modes, clipboard and settings of the paint form.
#include "paint/PelPaint.h"

void TForm6::setupFileActions()
{
}
