#include "kit/AlertDriver.h"

#include "kit/Application.h"

#include <cstdio>

namespace kit {

void AlertDriver::answer(const QString& buttonTitle) {
    answers_.append(buttonTitle);
}

void AlertDriver::answer(const QStringList& buttonTitles) {
    answers_.append(buttonTitles);
}

QStringList AlertDriver::messages() const {
    QStringList texts;
    for (const AlertRecord& record : alerts_) {
        texts.append(record.messageText);
    }
    return texts;
}

void AlertDriver::clear() {
    answers_.clear();
    alerts_.clear();
}

QString AlertDriver::chooseAnswer(const AlertRecord& record) {
    if (!answers_.isEmpty()) {
        return answers_.takeFirst();
    }
    if (responder_) {
        return responder_(record);
    }
    if (!defaultAnswer_.isNull()) {
        return defaultAnswer_;
    }
    return record.buttons.value(0);
}

int AlertDriver::respond(const QString& messageText, const QString& informativeText,
                         const QStringList& buttons) {
    AlertRecord record{messageText, informativeText, buttons, QString()};
    record.answer = chooseAnswer(record);
    alerts_.append(record);
    const int index = static_cast<int>(buttons.indexOf(record.answer));
    if (index < 0) {
        std::fprintf(stderr, "kit::AlertDriver - alert \"%s\" has no button \"%s\"\n",
                     qPrintable(messageText), qPrintable(record.answer));
        return ModalResponseAbort;
    }
    return AlertFirstButtonReturn + index;
}

AlertDriver*& AlertDriver::installed() {
    static AlertDriver* driver = nullptr;
    return driver;
}

} // namespace kit
