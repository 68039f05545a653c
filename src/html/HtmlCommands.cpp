#include "html/HtmlCommands.h"
