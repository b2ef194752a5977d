#include "transfer/list_procedures.h"

namespace quorvex {

bool ListContains(const TableList& list, const QString& text) {
    const QString wanted = text.toLower();
    bool found = false;
    const int count = list.ListCount();
    for (int i = 0; i < count; ++i) {
        if (list.List(i).toLower() == wanted) {
            found = true;
        }
    }
    return found;
}

void RemoveFromList(TableList& list, const QString& text) {
    // From the end, so removing an entry does not move the ones still to be looked at.
    for (int i = list.ListCount() - 1; i >= 0; --i) {
        if (list.List(i) == text) {
            list.RemoveItem(i);
        }
    }
}

}  // namespace quorvex
