#pragma once

#include <QObject>
#include <QString>

namespace dcf::ui {

// Gives a new control its control name as objectName, by which the engine's
// view and the tests find it; returns the control for further setting up.
template <typename Object> Object* named(Object* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace dcf::ui
