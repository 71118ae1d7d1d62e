#include "formfactory.h"

#include <QByteArray>
#include <QHash>

namespace md::ui {

namespace {
QHash<QByteArray, FormFactory>& factories() {
    static QHash<QByteArray, FormFactory> byClass;
    return byClass;
}
}  // namespace

RegisterFormClass::RegisterFormClass(const char* className, FormFactory factory) {
    factories().insert(QByteArray(className), factory);
}

FormFactory formFactoryFor(const char* className) {
    return factories().value(QByteArray(className));
}

}  // namespace md::ui
