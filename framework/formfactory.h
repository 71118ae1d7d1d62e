#pragma once
// Forms announce themselves by class name; the module's registry finds the
// factory of each of its rows here. Adding a form to the module is one line in
// the form's own .cpp:
//
//   MD_REGISTER_FORM(Tfrm_color)
#include "baseform.h"

class QDialog;
class QWidget;

namespace md::ui {

using FormFactory = QDialog* (*)(QWidget* owner);

struct RegisterFormClass {
    RegisterFormClass(const char* className, FormFactory factory);
};

// The factory registered for the class name, or null.
FormFactory formFactoryFor(const char* className);

template <class T>
QDialog* makeForm(QWidget* owner) {
    return CreateForm<T>(owner);
}

}  // namespace md::ui

#define MD_REGISTER_FORM(T) \
    static const md::ui::RegisterFormClass md_register_form_##T(#T, &md::ui::makeForm<T>)
