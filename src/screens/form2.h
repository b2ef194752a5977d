#pragma once

#include "data/connection_fields.h"
#include "shell/ui.h"

#include <QWidget>

namespace quorvex {

// The tables screen. Created once (hidden) by the connection screen, refreshed by Form_Load
// before each showing.
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2(const ConnectionFields& fields, Dialogs& dialogs, QWidget* parent = nullptr);

    // The refresh: dresses the window and fills both lists. Failures go to the caller.
    void Form_Load();

    // The connection screen that "< Back" shows again. Set once by the connection screen when
    // it creates this window.
    void SetConnectionScreen(QWidget* form1) { connectionScreen_ = form1; }

protected:
    QWidget* connectionScreen_ = nullptr;
};

}  // namespace quorvex
