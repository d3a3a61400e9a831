#pragma once

// A host around the shipped PPD for tests of the print dialog: the callback object, fake panels
// that see it, a dispatcher writing jobs into a temporary folder, and one document.

#include "FakePanel.h"
#include "HostCallback.h"
#include "JobDispatcher.h"
#include "PpdDocument.h"
#include "PrintDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <list>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace vextel_test {

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        QString error;
        ppd = vextel_print::PpdDocument::openFile(
            QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd"), &error);
        ASSERT_TRUE(ppd) << error.toStdString();
        host = std::make_unique<vextel_print::HostCallback>(*ppd, printing::Printer());
        document = temp.filePath(QStringLiteral("letter.txt"));
        QFile file(document);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Dear Sir,\n");
        file.close();
        dispatcher = std::make_unique<vextel_print::JobDispatcher>(
            vextel_print::JobDispatcher::Target{QString(), QString(), jobsFolder()},
            QStringList{document});
    }

    void TearDown() override {
        dialog.reset(); // hands the panels' views back before the panels go
        panels.clear();
    }

    FakePanel& addPanel(const QString& name = QStringLiteral("Fake Panel")) {
        return panels.emplace_back(name, host.get());
    }

    vextel_print::PrintDialog& makeDialog() {
        std::vector<printing::PanelProtocol*> borrowed;
        for (FakePanel& panel : panels) {
            borrowed.push_back(&panel);
        }
        dialog = std::make_unique<vextel_print::PrintDialog>(*host, borrowed, *dispatcher);
        dialog->show();
        return *dialog;
    }

    QString jobsFolder() const { return temp.filePath(QStringLiteral("jobs")); }
    bool jobWritten() const { return QFileInfo::exists(jobsFolder() + QStringLiteral("/job-1")); }
    QString jobOptionsText() const {
        QFile file(jobsFolder() + QStringLiteral("/job-1/job-options"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir temp;
    std::unique_ptr<vextel_print::PpdDocument> ppd;
    std::unique_ptr<vextel_print::HostCallback> host;
    std::unique_ptr<vextel_print::JobDispatcher> dispatcher;
    QString document;
    std::list<FakePanel> panels;
    std::unique_ptr<vextel_print::PrintDialog> dialog;
};

} // namespace vextel_test
