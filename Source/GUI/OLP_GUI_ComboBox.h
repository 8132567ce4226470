#pragma once

#include <QComboBox>

// The combo box of the settings tabs: a plain QComboBox under the program's own
// name, so that the style sheet and the forms can address it.
//
// Thread: GUI thread only.
class OLP_GUI_ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit OLP_GUI_ComboBox(QWidget* parent = nullptr);
};
