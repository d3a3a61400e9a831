#include "vextelpde/AddressInformation.h"

namespace tarvik_pde_m40vextel {

namespace {

// Assigns and announces only a real change, so bound table cells do not refresh for nothing.
template <class Signal>
void assignField(AddressInformation* object, QString& field, const QString& value, Signal signal) {
    // A null and an empty string differ here: absent and empty are both meaningful.
    if (field == value && field.isNull() == value.isNull()) {
        return;
    }
    field = value;
    emit(object->*signal)();
}

} // namespace

AddressInformation::AddressInformation(QObject* parent) : QObject(parent) {}

void AddressInformation::setName(const QString& name) {
    assignField(this, name_, name, &AddressInformation::nameChanged);
}

void AddressInformation::setPhoneNumber(const QString& phoneNumber) {
    assignField(this, phoneNumber_, phoneNumber, &AddressInformation::phoneNumberChanged);
}

void AddressInformation::setCompany(const QString& company) {
    assignField(this, company_, company, &AddressInformation::companyChanged);
}

void AddressInformation::setNote(const QString& note) {
    assignField(this, note_, note, &AddressInformation::noteChanged);
}

} // namespace tarvik_pde_m40vextel
