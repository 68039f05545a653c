#pragma once
#include <QIcon>

// ImageList1: the main window's 80 pictures, numbered from 0. Every icon
// number of a command, button or menu entry indexes it.
namespace MainImages {
constexpr int Count = 80;
QIcon icon(int index);
// The program's own picture (the installed desktop icon), at every size.
QIcon programIcon();
}
