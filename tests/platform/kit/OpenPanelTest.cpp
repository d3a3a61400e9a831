#include "kit/OpenPanel.h"

#include "kit/Application.h"
#include "kit/ModalDriver.h"
#include "kit/Window.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(OpenPanelTest, DriverAnswersAndRecordsTheRequest) {
    kit::OpenPanelDriver driver;
    driver.choose({"/tmp/a.vcf", "/tmp/b.vcf"});
    driver.cancel();
    kit::OpenPanelDriverScope scope(driver);

    kit::OpenPanel panel;
    panel.setCanChooseFiles(true);
    panel.setCanChooseDirectories(false);
    panel.setAllowsMultipleSelection(true);
    panel.setDirectory("/tmp/books");
    EXPECT_EQ(panel.runModal(), kit::ModalResponseOK);
    EXPECT_EQ(panel.paths(), (QStringList{"/tmp/a.vcf", "/tmp/b.vcf"}));

    EXPECT_EQ(panel.runModal(), kit::ModalResponseCancel);
    EXPECT_TRUE(panel.paths().isEmpty()) << "a cancelled run leaves no paths of an earlier one";
    EXPECT_EQ(panel.runModal(), kit::ModalResponseCancel) << "nothing queued: cancel";

    ASSERT_EQ(driver.requests().size(), 3);
    const kit::OpenPanelRequest& request = driver.requests().first();
    EXPECT_TRUE(request.canChooseFiles);
    EXPECT_FALSE(request.canChooseDirectories);
    EXPECT_TRUE(request.allowsMultipleSelection);
    EXPECT_EQ(request.directory, "/tmp/books");
}

// Queued answers come first; then the responder answers, seeing what the panel offers.
TEST(OpenPanelTest, ResponderAnswersWhenNothingIsQueued) {
    kit::OpenPanelDriver driver;
    driver.choose({"/tmp/queued.vcf"});
    QList<bool> seenDesktopChooser;
    driver.setResponder([&](const kit::OpenPanelRequest& request) -> std::optional<QStringList> {
        seenDesktopChooser << request.usesDesktopChooser;
        if (request.usesDesktopChooser) {
            return std::nullopt;
        }
        return QStringList{"/tmp/answered.vcf"};
    });
    kit::OpenPanelDriverScope scope(driver);

    kit::OpenPanel panel;
    EXPECT_EQ(panel.runModal(), kit::ModalResponseOK);
    EXPECT_EQ(panel.paths(), QStringList{"/tmp/queued.vcf"});
    EXPECT_EQ(panel.runModal(), kit::ModalResponseOK);
    EXPECT_EQ(panel.paths(), QStringList{"/tmp/answered.vcf"});
    panel.setUsesDesktopChooser(true);
    EXPECT_EQ(panel.runModal(), kit::ModalResponseCancel);
    EXPECT_EQ(seenDesktopChooser, (QList<bool>{false, true}));
}

TEST(OpenPanelTest, RealPanelIsAFileDialogInAModalRun) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath("office.vcf");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();

    QString startFolder;
    kit::ModalDriver modal([&](kit::Window* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window->widget());
        ASSERT_NE(dialog, nullptr);
        startFolder = dialog->directory().absolutePath();
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept();
    });
    kit::ModalDriverScope scope(modal);

    kit::OpenPanel panel;
    panel.setAllowsMultipleSelection(true);
    panel.setDirectory(folder.path());
    EXPECT_EQ(panel.runModal(), kit::ModalResponseOK);
    EXPECT_EQ(panel.paths(), QStringList{QDir(file).absolutePath()});
    EXPECT_EQ(startFolder, QDir(folder.path()).absolutePath());

    kit::ModalDriver cancelling(
        [](kit::Window* window) { qobject_cast<QFileDialog*>(window->widget())->reject(); });
    kit::ModalDriverScope cancelScope(cancelling);
    EXPECT_EQ(panel.runModal(), kit::ModalResponseCancel);
    EXPECT_TRUE(panel.paths().isEmpty());
}

} // namespace
