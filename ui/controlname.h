#pragma once

#include <QLatin1String>

namespace pagewick {

// Gives a control, menu or menu entry its objectName: the name of the member that holds it
// (txtMap, cmdCreate, mnuQuit), by which tests find it.
template <typename T> T* Named(T* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}

} // namespace pagewick
