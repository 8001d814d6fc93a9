#include "ui/Form1.h"
namespace cubwave {
Form1::Form1(QWidget* parent) : QMainWindow(parent) {}
}  // namespace cubwave
