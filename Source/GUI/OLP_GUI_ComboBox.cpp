#include "OLP_GUI_ComboBox.h"

OLP_GUI_ComboBox::OLP_GUI_ComboBox(QWidget* parent) : QComboBox(parent) {}
