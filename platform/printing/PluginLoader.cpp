#include "printing/PluginLoader.h"

#include "kit/Bundle.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <dlfcn.h>

namespace printing {

namespace {

void setError(QString* error, const QString& text) {
    if (error != nullptr)
        *error = text;
}

QString lastLoaderError() {
    const char* text = dlerror();
    return text != nullptr ? QString::fromLocal8Bit(text) : QStringLiteral("unknown error");
}

bool declaresPrintDialog(const kit::Bundle& bundle) {
    const QVariant types = bundle.objectForInfoDictionaryKey(QLatin1String(kPanelTypesInfoKey));
    return types.toStringList().contains(QLatin1String(kPrintDialogPanelType));
}

PluginFactory* callEntryPoint(PluginFactoryEntryPoint entry) noexcept {
    try {
        return entry();
    } catch (...) {
        return nullptr;
    }
}

bool callInitWithBundle(PluginFactory& factory,
                        const std::shared_ptr<kit::Bundle>& bundle) noexcept {
    try {
        return factory.initWithBundle(bundle);
    } catch (...) {
        return false;
    }
}

constexpr const char* kDialogExtensionAttribute = "APDialogExtension";

// The values of every *APDialogExtension line. The attribute walk moves the PPD's attribute
// cursor, so the values are gathered first and nothing else looks attributes up meanwhile.
QStringList dialogExtensionValues(ppd_file_t* ppd) {
    QStringList values;
    for (ppd_attr_t* attribute = ppdFindAttr(ppd, kDialogExtensionAttribute, nullptr);
         attribute != nullptr;
         attribute = ppdFindNextAttr(ppd, kDialogExtensionAttribute, nullptr)) {
        if (attribute->value != nullptr) {
            values.append(QString::fromUtf8(attribute->value).trimmed());
        }
    }
    return values;
}

// The folder the value names: the path itself when it exists, else its last component looked
// up in the folders; empty when neither is found.
QString resolveDialogExtension(const QString& value, const QStringList& folders) {
    if (!value.isEmpty() && QFileInfo(value).isDir()) {
        return value;
    }
    const QString name = QFileInfo(value).fileName();
    if (name.isEmpty()) {
        return {};
    }
    for (const QString& folder : folders) {
        const QString candidate = QDir(folder).filePath(name);
        if (QFileInfo(candidate).isDir()) {
            return candidate;
        }
    }
    return {};
}

QStringList pluginFoldersIn(const QString& folder) {
    const QDir dir(folder);
    QStringList result;
    // Matched by suffix here: a name filter makes QDir build and compile a regular expression.
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names)
        if (name.endsWith(QLatin1String(".plugin"), Qt::CaseInsensitive))
            result.append(dir.filePath(name));
    return result;
}

} // namespace

LoadedPlugin::~LoadedPlugin() {
    factory_.reset();
    if (moduleHandle_ != nullptr)
        dlclose(moduleHandle_);
}

QStringList PluginLoader::searchFolders(const QString& installFolder) {
    QStringList folders =
        qEnvironmentVariable("VEXTEL_PDE_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (!installFolder.isEmpty())
        folders.append(installFolder);
    return folders;
}

QStringList PluginLoader::findBundles(const QStringList& folders) {
    QStringList result;
    QSet<QString> seenPaths;
    QSet<QString> seenIdentifiers;
    for (const QString& folder : folders) {
        for (const QString& path : pluginFoldersIn(folder)) {
            const QString canonical = QFileInfo(path).canonicalFilePath();
            if (canonical.isEmpty() || seenPaths.contains(canonical))
                continue;
            seenPaths.insert(canonical);
            const std::shared_ptr<kit::Bundle> bundle = kit::Bundle::open(path);
            if (!bundle || !declaresPrintDialog(*bundle))
                continue;
            const QString identifier = bundle->bundleIdentifier();
            if (!identifier.isEmpty() && seenIdentifiers.contains(identifier))
                continue;
            seenIdentifiers.insert(identifier);
            result.append(path);
        }
    }
    return result;
}

std::unique_ptr<LoadedPlugin> PluginLoader::load(const QString& bundlePath, QString* error) {
    const QString where = QStringLiteral("PluginLoader - ") + bundlePath + QStringLiteral(": ");
    if (!QFileInfo(bundlePath).isDir()) {
        setError(error, where + QStringLiteral("no such bundle folder"));
        return nullptr;
    }
    std::shared_ptr<kit::Bundle> bundle = kit::Bundle::open(bundlePath);
    if (!bundle) {
        setError(error, where + QStringLiteral("Contents/Info.plist cannot be read"));
        return nullptr;
    }
    if (!declaresPrintDialog(*bundle)) {
        setError(error, where + QStringLiteral("Info.plist does not list the print dialog under ") +
                            QLatin1String(kPanelTypesInfoKey));
        return nullptr;
    }
    const QString modulePath = bundle->executablePath();
    if (modulePath.isEmpty()) {
        setError(error,
                 where + QStringLiteral("the module named by CFBundleExecutable is missing"));
        return nullptr;
    }
    const QString entryName =
        bundle->objectForInfoDictionaryKey(QLatin1String(kPluginFactoryInfoKey)).toString();
    if (entryName.isEmpty()) {
        setError(error, where + QStringLiteral("Info.plist names no factory under ") +
                            QLatin1String(kPluginFactoryInfoKey));
        return nullptr;
    }

    // RTLD_NODELETE: the module's code stays mapped after the last dlclose, because objects made
    // by it (type registrations, a panel a careless host still holds) may outlive the factory.
    void* handle =
        dlopen(QFile::encodeName(modulePath).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
        setError(error, where + QStringLiteral("cannot load the module: ") + lastLoaderError());
        return nullptr;
    }
    dlerror();
    auto entry =
        reinterpret_cast<PluginFactoryEntryPoint>(dlsym(handle, entryName.toLatin1().constData()));
    if (entry == nullptr) {
        setError(error, where + QStringLiteral("the module exports no ") + entryName);
        dlclose(handle);
        return nullptr;
    }

    std::unique_ptr<LoadedPlugin> plugin(new LoadedPlugin());
    plugin->moduleHandle_ = handle;
    plugin->bundle_ = bundle;
    plugin->bundlePath_ = bundlePath;
    plugin->factory_.reset(callEntryPoint(entry));
    if (!plugin->factory_) {
        setError(error, where + entryName + QStringLiteral(" made no factory"));
        return nullptr;
    }
    if (!callInitWithBundle(*plugin->factory_, bundle)) {
        setError(error, where + QStringLiteral("the factory refused its bundle"));
        return nullptr;
    }
    return plugin;
}

std::vector<std::unique_ptr<LoadedPlugin>> PluginLoader::loadAll(const QStringList& folders,
                                                                 QStringList* errors) {
    std::vector<std::unique_ptr<LoadedPlugin>> plugins;
    for (const QString& path : findBundles(folders)) {
        QString error;
        if (auto plugin = load(path, &error))
            plugins.push_back(std::move(plugin));
        else if (errors != nullptr)
            errors->append(error);
    }
    return plugins;
}

QStringList PluginLoader::bundlesNamedByPpd(ppd_file_t* ppd, const QStringList& folders,
                                            QStringList* errors) {
    QStringList result;
    if (ppd == nullptr) {
        return result;
    }
    QSet<QString> seenPaths;
    QStringList missing;
    for (const QString& value : dialogExtensionValues(ppd)) {
        const QString path = resolveDialogExtension(value, folders);
        if (path.isEmpty()) {
            missing.append(value);
            continue;
        }
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (seenPaths.contains(canonical)) {
            continue;
        }
        seenPaths.insert(canonical);
        result.append(path);
    }
    // PPDs written for another platform name that platform's extensions, often several: one
    // line for all of them.
    if (!missing.isEmpty() && errors != nullptr) {
        errors->append(QStringLiteral("PluginLoader - the dialog extensions the PPD names are not "
                                      "found: ") +
                       missing.join(QStringLiteral(", ")));
    }
    return result;
}

std::vector<std::unique_ptr<LoadedPlugin>>
PluginLoader::loadForPpd(ppd_file_t* ppd, const QStringList& folders, QStringList* errors) {
    std::vector<std::unique_ptr<LoadedPlugin>> plugins;
    for (const QString& path : bundlesNamedByPpd(ppd, folders, errors)) {
        QString error;
        if (auto plugin = load(path, &error))
            plugins.push_back(std::move(plugin));
        else if (errors != nullptr)
            errors->append(error);
    }
    return plugins;
}

} // namespace printing
