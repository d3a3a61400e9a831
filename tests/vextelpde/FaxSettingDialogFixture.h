#pragma once

// The real "FaxSetting" layout loaded from the source tree with a stand-in for the panel that
// owns it, and the alert and modal drivers installed for every test. A test that includes this
// header must also include "moc_FaxSettingDialogFixture.cpp" once.

#include "FakeAddressBookLibrary.h"
#include "common/BasicPdeView.h"
#include "kit/AlertDriver.h"
#include "kit/Application.h"
#include "kit/ArrayController.h"
#include "kit/Button.h"
#include "kit/ClassRegistry.h"
#include "kit/Environment.h"
#include "kit/KeyValue.h"
#include "kit/Layout.h"
#include "kit/ModalDriver.h"
#include "kit/Panel.h"
#include "kit/TextField.h"
#include "vextelpde/AddressBookController.h"
#include "vextelpde/AddressBookView.h"
#include "vextelpde/AddressInformation.h"
#include "vextelpde/BindingKeys.h"
#include "vextelpde/FaxSettingController.h"
#include "vextelpde/FaxSettingView.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tarvik_pde_m40vextel::testing {

// The panel's outlet, as the layout connects it.
class DialogOwner : public QObject {
    Q_OBJECT
    Q_PROPERTY(tarvik_pde_m40vextel::FaxSettingController* detailedFaxSettingContoller READ
                   detailedFaxSettingContoller WRITE setDetailedFaxSettingContoller)

public:
    FaxSettingController* detailedFaxSettingContoller() const { return controller_; }
    void setDetailedFaxSettingContoller(FaxSettingController* controller) {
        controller_ = controller;
    }

private:
    QPointer<FaxSettingController> controller_;
};

inline QString faxSettingLayoutPath() {
    return QStringLiteral(VEXTEL_SOURCE_DIR "/resources/VextelPDE/Resources/FaxSetting.layout");
}

inline void registerDialogClasses() {
    kit::ClassRegistry::registerObjectClass<FaxSettingController>("FaxSettingController");
    kit::ClassRegistry::registerObjectClass<AddressInformation>("AddressInformation");
    kit::ClassRegistry::registerViewClass<FaxSettingView>("FaxSettingView");
    kit::ClassRegistry::registerObjectClass<AddressBookController>("AddressBookController");
    kit::ClassRegistry::registerViewClass<AddressBookView>("AddressBookView");
    kit::ClassRegistry::registerViewClass<BasicPdeView>("BasicPdeView");
}

inline kit::ObjectRef makeRecipient(const QString& name, const QString& phoneNumber) {
    auto recipient = std::make_shared<AddressInformation>();
    recipient->setName(name);
    recipient->setPhoneNumber(phoneNumber);
    return recipient;
}

inline QString recipientText(const kit::ObjectRef& recipient) {
    return kit::valueForKey(recipient.get(), kNameKey).toString() + "/" +
           kit::valueForKey(recipient.get(), kPhoneNumberKey).toString();
}

class FaxSettingDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Not sandboxed unless a test says so: a home outside any container.
        kit::Environment::resetCachesForTesting();
        registerDialogClasses();
        ASSERT_TRUE(kit::Layout::loadFile(faxSettingLayoutPath(), &owner, &topLevelObjects));
        ASSERT_NE(controller(), nullptr);
    }

    void TearDown() override {
        topLevelObjects.clear();
        kit::Environment::resetCachesForTesting();
    }

    FaxSettingController* controller() const { return owner.detailedFaxSettingContoller(); }
    kit::ArrayController* recipients() const { return controller()->addressArrayController(); }
    kit::Panel* panel() const { return controller()->faxSettingPanel(); }

    template <class T = kit::View> T* view(const char* name) const {
        auto* widget = panel()->widget()->findChild<QWidget*>(QString::fromLatin1(name));
        return widget == nullptr ? nullptr : qobject_cast<T*>(kit::View::of(widget));
    }
    bool isEnabled(const char* name) const { return view(name)->widget()->isEnabled(); }

    void addRecipients(const QList<QPair<QString, QString>>& entries) {
        for (const auto& [name, number] : entries) {
            recipients()->addObject(makeRecipient(name, number));
        }
    }
    QStringList arrangedRecipients() const {
        QStringList texts;
        for (const kit::ObjectRef& recipient : recipients()->arrangedObjects()) {
            texts << recipientText(recipient);
        }
        return texts;
    }
    void setEntry(const QString& name, const QString& number) {
        kit::setValueForKey(controller(), kAddressNameKey, name);
        kit::setValueForKey(controller(), kAddressPhoneNumberKey, number);
    }

    // Types as a user does: each character goes through the field's formatter.
    static void type(kit::TextField* field, const QString& text) {
        for (const QChar character : text) {
            field->lineEdit()->insert(QString(character));
        }
    }

    // Runs the dialog; the step acts inside the run, with the panel shown.
    void runDialog(kit::ModalDriver::Step step) {
        modalDriver.enqueue(std::move(step));
        controller()->createDialog();
    }

    DialogOwner owner;
    QList<kit::ObjectRef> topLevelObjects;
    kit::AlertDriver alertDriver;
    kit::AlertDriverScope alertScope{alertDriver};
    kit::ModalDriver modalDriver;
    kit::ModalDriverScope modalScope{modalDriver};
    FakeAddressBookLibrary library;
    AddressBookLibrary::Override libraryScope{library};
    kit::Environment::HomeDirectoryOverride home{QStringLiteral("/home/tester")};
};

} // namespace tarvik_pde_m40vextel::testing
