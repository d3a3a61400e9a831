#pragma once

#include "printing/PluginFactory.h"

#include <QString>
#include <QStringList>
#include <cups/ppd.h>
#include <memory>
#include <vector>

namespace kit {
class Bundle;
}

namespace printing {

// One plug-in bundle whose module is loaded and whose factory has been made and handed the
// bundle. Destroying it destroys the factory, then lets go of the module; panels the factory
// made must be gone by then.
class LoadedPlugin {
public:
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    std::shared_ptr<kit::Bundle> bundle() const { return bundle_; }
    PluginFactory* factory() const { return factory_.get(); }
    QString bundlePath() const { return bundlePath_; }

private:
    friend class PluginLoader;
    LoadedPlugin() = default;

    // Member order is release order in reverse: the factory goes before the module handle.
    void* moduleHandle_ = nullptr;
    std::shared_ptr<kit::Bundle> bundle_;
    std::unique_ptr<PluginFactory> factory_;
    QString bundlePath_;
};

// Finds and loads print-dialog plug-in bundles (<name>.plugin folders):
//   Contents/Info.plist   CFBundleExecutable (module Contents/<name>.so),
//                         VextelPDEFactory (name of the exported factory entry point),
//                         PDEPanelTypes (array holding kPrintDialogPanelType)
class PluginLoader {
public:
    // Folders to search: the entries of VEXTEL_PDE_PATH (colon-separated, empty ones skipped)
    // first, so a developer's build can stand in for an installed bundle, then the install
    // folder.
    static QStringList searchFolders(const QString& installFolder);

    // Every bundle folder in the given folders (sorted by name within a folder) whose Info.plist
    // declares the print-dialog panel type. A folder reached twice counts once; a later bundle
    // with the identifier of an earlier one is left out.
    static QStringList findBundles(const QStringList& folders);

    // Opens the bundle, loads its module, makes its factory and hands it the bundle. Null with a
    // one-line reason in *error (when given) if any step fails.
    static std::unique_ptr<LoadedPlugin> load(const QString& bundlePath, QString* error = nullptr);

    // load() for every bundle findBundles() gives; the reasons of failed loads go to *errors.
    static std::vector<std::unique_ptr<LoadedPlugin>> loadAll(const QStringList& folders,
                                                              QStringList* errors = nullptr);

    // The bundles a printer's PPD names, each with a line
    //   *APDialogExtension: "<path>/<Name>.plugin"
    // in the PPD's order: the path when that folder exists, else the first <Name>.plugin in the
    // given folders. Names found nowhere put one line naming them all into *errors; a bundle
    // named twice counts once. A PPD naming none gets none: its printer has no dialog extension.
    static QStringList bundlesNamedByPpd(ppd_file_t* ppd, const QStringList& folders,
                                         QStringList* errors = nullptr);

    // load() for every bundle bundlesNamedByPpd() gives; the reasons of bundles that are missing
    // or fail to load go to *errors, one line each.
    static std::vector<std::unique_ptr<LoadedPlugin>>
    loadForPpd(ppd_file_t* ppd, const QStringList& folders, QStringList* errors = nullptr);
};

} // namespace printing
