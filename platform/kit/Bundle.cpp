#include "kit/Bundle.h"

#include "kit/TextEncoding.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <plist/plist.h>
#include <utility>
#include <vector>

namespace kit {

namespace {

const QString defaultTableName = QStringLiteral("Localizable");
const QString localizedFolderSuffix = QStringLiteral(".lproj");

// libplist counts dates from 2001-01-01 00:00:00 UTC.
constexpr qint64 plistEpochOffsetSeconds = 978307200;

// Strings handed out by libplist are malloc'ed and must be released with free().
struct MallocDeleter {
    void operator()(char* p) const { std::free(p); }
};
using PlistString = std::unique_ptr<char, MallocDeleter>;

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistTree = std::unique_ptr<void, PlistDeleter>;

QVariant toVariant(plist_t node);

QVariantList arrayToVariant(plist_t node) {
    QVariantList list;
    const uint32_t size = plist_array_get_size(node);
    for (uint32_t i = 0; i < size; ++i) {
        list.append(toVariant(plist_array_get_item(node, i)));
    }
    return list;
}

QVariantMap dictToVariant(plist_t node) {
    QVariantMap map;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    if (iter == nullptr) {
        return map;
    }
    for (;;) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iter, &rawKey, &value);
        PlistString key(rawKey);
        if (!key || value == nullptr) {
            break;
        }
        map.insert(TextEncoding::decodeUtf8(key.get()), toVariant(value));
    }
    std::free(iter);
    return map;
}

// Read with its length: the library's copying getter asserts on a string holding a NUL.
QString stringValue(plist_t node) {
    uint64_t length = 0;
    const char* bytes = plist_get_string_ptr(node, &length);
    if (bytes == nullptr || length > static_cast<uint64_t>(std::numeric_limits<qsizetype>::max())) {
        return {};
    }
    return TextEncoding::decodeUtf8(QByteArrayView(bytes, static_cast<qsizetype>(length)));
}

// True when a key or string anywhere in the tree holds a NUL character. The library has no way
// to read a key with its length, and asserts when asked for one holding a NUL; its XML writer
// writes every key and string whole, and nothing else in that text can be a 0 byte.
bool holdsNulCharacter(plist_t root) {
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    if (xml == nullptr) {
        return true; // unwritable is unreadable
    }
    const bool found = std::memchr(xml, '\0', length) != nullptr;
    plist_to_xml_free(xml);
    return found;
}

// This libplist keeps every integer as 64 unsigned bits; negative numbers come back in two's
// complement, so values above the signed range are read as the negative numbers they were.
QVariant integerValue(plist_t node) {
    uint64_t value = 0;
    plist_get_uint_val(node, &value);
    return QVariant::fromValue(static_cast<qlonglong>(value));
}

QVariant dateValue(plist_t node) {
    int32_t seconds = 0;
    int32_t microseconds = 0;
    plist_get_date_val(node, &seconds, &microseconds);
    const QDateTime date =
        QDateTime::fromSecsSinceEpoch(plistEpochOffsetSeconds + seconds, Qt::UTC);
    return date.addMSecs(microseconds / 1000);
}

QVariant dataValue(plist_t node) {
    char* raw = nullptr;
    uint64_t length = 0;
    plist_get_data_val(node, &raw, &length);
    PlistString owned(raw);
    if (!owned || length > static_cast<uint64_t>(std::numeric_limits<qsizetype>::max())) {
        return QByteArray();
    }
    return QByteArray(owned.get(), static_cast<qsizetype>(length));
}

QVariant toVariant(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value != 0;
    }
    case PLIST_UINT:
        return integerValue(node);
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING:
        return stringValue(node);
    case PLIST_ARRAY:
        return arrayToVariant(node);
    case PLIST_DICT:
        return dictToVariant(node);
    case PLIST_DATE:
        return dateValue(node);
    case PLIST_DATA:
        return dataValue(node);
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return QVariant::fromValue(static_cast<qulonglong>(value));
    }
    default:
        return {};
    }
}

// Null when the file cannot be read or is no property list whose root is a dictionary.
std::optional<QVariantMap> readInfoPlist(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<uint32_t>::max()) {
        return std::nullopt;
    }
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), static_cast<uint32_t>(bytes.size()), &root);
    PlistTree tree(root);
    if (!tree || plist_get_node_type(root) != PLIST_DICT) {
        return std::nullopt;
    }
    if (holdsNulCharacter(root)) {
        std::fprintf(stderr, "Bundle: %s: Info.plist holds a NUL character in a key or string\n",
                     QFile::encodeName(path).constData());
        return std::nullopt;
    }
    return dictToVariant(root);
}

// "de_DE.UTF-8@euro" -> "de_DE"; "C" and "POSIX" name no language.
QString languageFromLocaleName(QString name) {
    name = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0).trimmed();
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX")) {
        return {};
    }
    return name.replace(QLatin1Char('-'), QLatin1Char('_'));
}

QString environmentValue(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// The locale that decides message language, as the C library sees it.
QString messagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environmentValue(name);
        if (!value.isEmpty()) {
            return value;
        }
    }
    return {};
}

QStringList languagesFromEnvironment() {
    const QString locale = languageFromLocaleName(messagesLocale());
    QStringList languages;
    // LANGUAGE is a priority list, honoured only when a real locale is set.
    if (!locale.isEmpty()) {
        for (const QString& entry : environmentValue("LANGUAGE").split(QLatin1Char(':'))) {
            const QString language = languageFromLocaleName(entry);
            if (!language.isEmpty() && !languages.contains(language)) {
                languages.append(language);
            }
        }
        if (!languages.contains(locale)) {
            languages.append(locale);
        }
    }
    return languages;
}

QString baseLanguage(const QString& language) {
    return language.section(QLatin1Char('_'), 0, 0);
}

std::mutex& stateMutex() {
    static std::mutex mutex;
    return mutex;
}

QStringList& languagesOverride() {
    static QStringList languages;
    return languages;
}

// The languages read from the environment, once per process (or again after a test's override
// is lifted), and a count of how often they were set, so bundles know when their search order
// is out of date.
std::optional<QStringList>& languagesFromProcess() {
    static std::optional<QStringList> languages;
    return languages;
}

int& languagesGeneration() {
    static int generation = 0;
    return generation;
}

QStringList readPreferredLanguages();

// The preferred languages with the generation they belong to; the caller holds stateMutex().
std::pair<QStringList, int> languagesLocked() {
    if (!languagesOverride().isEmpty()) {
        return {languagesOverride(), languagesGeneration()};
    }
    if (!languagesFromProcess()) {
        languagesFromProcess() = readPreferredLanguages();
    }
    return {*languagesFromProcess(), languagesGeneration()};
}

QStringList readPreferredLanguages() {
    const QStringList fromEnvironment = languagesFromEnvironment();
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    QStringList fromLocale;
    for (const QString& language : QLocale::system().uiLanguages()) {
        fromLocale.append(languageFromLocaleName(language));
    }
    fromLocale.removeAll(QString());
    return fromLocale;
}

// Bundles live for the rest of the process once opened, as the platform's bundles do.
std::vector<std::shared_ptr<Bundle>>& openedBundles() {
    static std::vector<std::shared_ptr<Bundle>> bundles;
    return bundles;
}

} // namespace

struct Bundle::Private {
    QString path;
    QVariantMap info;

    // Guards the caches below. A bundle's files do not change while it is installed, so the
    // localizations and tables it has are read once.
    mutable std::mutex cacheMutex;
    // One translator per (localization, table); null when that table file does not exist.
    mutable std::map<std::pair<QString, QString>, std::unique_ptr<QTranslator>> tables;
    mutable std::optional<QStringList> localizations;
    // The search order, and the languages generation it was made for.
    mutable QStringList preferredLocalizations;
    mutable int preferredGeneration = -1;

    QString contentsPath() const { return path + QStringLiteral("/Contents"); }
    QString resourcesPath() const { return contentsPath() + QStringLiteral("/Resources"); }

    QString infoString(const QString& key) const {
        const QVariant value = info.value(key);
        return value.typeId() == QMetaType::QString ? value.toString() : QString();
    }

    const QTranslator* table(const QString& localization, const QString& tableName) const {
        std::lock_guard lock(cacheMutex);
        const auto key = std::make_pair(localization, tableName);
        const auto found = tables.find(key);
        if (found != tables.end()) {
            return found->second.get();
        }
        const QString file = resourcesPath() + QLatin1Char('/') + localization +
                             localizedFolderSuffix + QLatin1Char('/') + tableName +
                             QStringLiteral(".qm");
        auto translator = std::make_unique<QTranslator>();
        if (!QFileInfo(file).isFile() || !translator->load(file)) {
            translator.reset();
        }
        return tables.emplace(key, std::move(translator)).first->second.get();
    }

    QStringList readLocalizations() const {
        QStringList names;
        const QDir resources(resourcesPath());
        // Matched by suffix here: a name filter makes QDir build and compile a regular
        // expression, which costs a bundle's first lookup more than the listing itself.
        const QStringList folders =
            resources.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& folder : folders) {
            if (folder.size() > localizedFolderSuffix.size() &&
                folder.endsWith(localizedFolderSuffix, Qt::CaseInsensitive)) {
                names.append(folder.chopped(localizedFolderSuffix.size()));
            }
        }
        return names;
    }
};

Bundle::Bundle(std::unique_ptr<Private> d) : d(std::move(d)) {}

Bundle::~Bundle() = default;

std::shared_ptr<Bundle> Bundle::open(const QString& bundlePath) {
    const QFileInfo folder(bundlePath);
    if (bundlePath.isEmpty() || !folder.isDir()) {
        return nullptr;
    }
    const QString path = folder.canonicalFilePath();
    std::lock_guard lock(stateMutex());
    for (const auto& bundle : openedBundles()) {
        if (bundle->d->path == path) {
            return bundle;
        }
    }
    auto info = readInfoPlist(path + QStringLiteral("/Contents/Info.plist"));
    if (!info) {
        return nullptr;
    }
    auto d = std::make_unique<Private>();
    d->path = path;
    d->info = std::move(*info);
    std::shared_ptr<Bundle> bundle(new Bundle(std::move(d)));
    openedBundles().push_back(bundle);
    return bundle;
}

std::optional<QVariantMap> Bundle::readInfoDictionary(const QString& plistPath) {
    return readInfoPlist(plistPath);
}

std::shared_ptr<Bundle> Bundle::bundleWithIdentifier(const QString& identifier) {
    if (identifier.isEmpty()) {
        return nullptr;
    }
    std::lock_guard lock(stateMutex());
    for (const auto& bundle : openedBundles()) {
        if (bundle->bundleIdentifier() == identifier) {
            return bundle;
        }
    }
    return nullptr;
}

QString Bundle::bundlePath() const {
    return d->path;
}

QString Bundle::bundleIdentifier() const {
    return d->infoString(QStringLiteral("CFBundleIdentifier"));
}

QString Bundle::resourcePath() const {
    return d->resourcesPath();
}

QString Bundle::executablePath() const {
    const QString name = d->infoString(QStringLiteral("CFBundleExecutable"));
    if (name.isEmpty()) {
        return {};
    }
    const QString base = d->contentsPath() + QLatin1Char('/') + name;
    for (const QString& candidate : {base, base + QStringLiteral(".so")}) {
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return {};
}

QVariantMap Bundle::infoDictionary() const {
    return d->info;
}

QVariant Bundle::objectForInfoDictionaryKey(const QString& key) const {
    return d->info.value(key);
}

QString Bundle::pathForResource(const QString& name, const QString& type) const {
    if (name.isEmpty()) {
        return {};
    }
    QString fileName = name;
    if (!type.isEmpty()) {
        fileName += type.startsWith(QLatin1Char('.')) ? type : QLatin1Char('.') + type;
    }
    QStringList folders{d->resourcesPath()};
    for (const QString& localization : preferredLocalizations()) {
        folders.append(d->resourcesPath() + QLatin1Char('/') + localization +
                       localizedFolderSuffix);
    }
    for (const QString& folder : folders) {
        const QString candidate = folder + QLatin1Char('/') + fileName;
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return {};
}

QString Bundle::localizedResourcePath() const {
    return d->resourcesPath() + QLatin1Char('/') + preferredLocalizations().constFirst() +
           localizedFolderSuffix;
}

QString Bundle::localizedStringForKey(const QString& key, const QString& value,
                                      const QString& tableName) const {
    if (!key.isEmpty()) {
        for (const QString& localization : preferredLocalizations()) {
            const QString translated = stringForKeyInLocalization(key, tableName, localization);
            if (!translated.isNull()) {
                return translated;
            }
        }
    }
    return value.isEmpty() ? key : value;
}

QString Bundle::stringForKeyInLocalization(const QString& key, const QString& tableName,
                                           const QString& localization) const {
    const QString table = tableName.isEmpty() ? defaultTableName : tableName;
    const QTranslator* translator = key.isEmpty() ? nullptr : d->table(localization, table);
    if (translator == nullptr) {
        return {};
    }
    return translator->translate(table.toUtf8().constData(), key.toUtf8().constData());
}

QStringList Bundle::localizations() const {
    std::lock_guard lock(d->cacheMutex);
    if (!d->localizations) {
        d->localizations = d->readLocalizations();
    }
    return *d->localizations;
}

QString Bundle::developmentLocalization() const {
    const QString region = d->infoString(QStringLiteral("CFBundleDevelopmentRegion"));
    return region.isEmpty() ? QStringLiteral("en") : region;
}

QStringList Bundle::preferredLocalizations() const {
    std::pair<QStringList, int> languages;
    {
        std::lock_guard lock(stateMutex());
        languages = languagesLocked();
    }
    const auto& [list, generation] = languages;
    std::lock_guard lock(d->cacheMutex);
    if (d->preferredGeneration != generation) {
        d->preferredLocalizations = searchOrderFor(list);
        d->preferredGeneration = generation;
    }
    return d->preferredLocalizations;
}

QStringList Bundle::searchOrderFor(const QStringList& languages) const {
    if (!d->localizations) {
        d->localizations = d->readLocalizations();
    }
    const QStringList& available = *d->localizations;
    QStringList ordered;
    const auto add = [&ordered](const QString& localization) {
        if (!ordered.contains(localization)) {
            ordered.append(localization);
        }
    };
    // A preferred "de_AT" takes the bundle's "de_AT", else its "de"; "de" also takes "de_DE"
    // when the bundle only has that one.
    for (const QString& language : languages) {
        const QString base = baseLanguage(language);
        if (available.contains(language)) {
            add(language);
        } else if (available.contains(base)) {
            add(base);
        } else {
            for (const QString& localization : available) {
                if (baseLanguage(localization) == base) {
                    add(localization);
                    break;
                }
            }
        }
    }
    add(developmentLocalization());
    return ordered;
}

QStringList Bundle::preferredLanguages() {
    std::lock_guard lock(stateMutex());
    return languagesLocked().first;
}

void Bundle::setPreferredLanguagesForTesting(const QStringList& languages) {
    std::lock_guard lock(stateMutex());
    languagesOverride() = languages;
    languagesFromProcess().reset();
    ++languagesGeneration();
}

} // namespace kit
