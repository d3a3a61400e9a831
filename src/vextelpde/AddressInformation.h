#pragma once

#include <QObject>
#include <QString>

namespace tarvik_pde_m40vextel {

// One fax recipient, kept in the recipient list as a shared object (kit::ObjectRef). A field that
// was never set is a null QString. Readers go through key-value coding on the properties.
class AddressInformation : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString phoneNumber READ phoneNumber WRITE setPhoneNumber NOTIFY phoneNumberChanged)
    Q_PROPERTY(QString company READ company WRITE setCompany NOTIFY companyChanged)
    Q_PROPERTY(QString note READ note WRITE setNote NOTIFY noteChanged)

public:
    explicit AddressInformation(QObject* parent = nullptr);

    QString name() const { return name_; }
    void setName(const QString& name);
    QString phoneNumber() const { return phoneNumber_; }
    void setPhoneNumber(const QString& phoneNumber);
    QString company() const { return company_; }
    void setCompany(const QString& company);
    QString note() const { return note_; }
    void setNote(const QString& note);

signals:
    void nameChanged();
    void phoneNumberChanged();
    void companyChanged();
    void noteChanged();

private:
    QString name_;
    QString phoneNumber_;
    QString company_;
    QString note_;
};

} // namespace tarvik_pde_m40vextel
