#pragma once

#include "screens/form2.h"
#include "screens/table_list_widget.h"
#include "support/recording_ui.h"
#include "support/scripted_dialogs.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace quorvex::test {

// A tables screen over fixed connection fields and scripted boxes, its program folder empty so
// no cursor or icon file is found unless a test puts one there.
class Form2Test : public ::testing::Test {
  protected:
    Form2Test() : form(std::make_unique<Form2>(fields, dialogs)) {}

    template <typename Widget = QWidget>
    Widget& Control(const char* name) {
        auto* control = form->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }
    QPushButton& Button(const char* name) { return Control<QPushButton>(name); }
    TableListWidget& List1() { return form->OracleList(); }
    TableListWidget& List2() { return form->ParadoxList(); }
    int Pointer() { return form->MousePointerState().MousePointer(); }

    // A plain mouse move (no button held) over the middle of a widget.
    static void MoveOver(QWidget& widget) {
        const QPointF local(widget.width() / 2.0, widget.height() / 2.0);
        QMouseEvent move(QEvent::MouseMove, local, widget.mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &move);
    }

    static void Fill(TableList& list, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            list.AddItem(QString::fromUtf8(name));
        }
    }

    FixedFields fields;
    ScriptedDialogs dialogs;
    std::unique_ptr<Form2> form;
};

}  // namespace quorvex::test
