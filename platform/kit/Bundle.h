#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <memory>
#include <optional>

namespace kit {

// A bundle folder:
//   <name>.plugin/Contents/Info.plist           information property list (XML or binary)
//   <name>.plugin/Contents/<module>.so          the executable module named by CFBundleExecutable
//   <name>.plugin/Contents/Resources/           layouts and other resources
//   <name>.plugin/Contents/Resources/<lang>.lproj/  localized resources: string tables, help book
// Bundles opened through open() are remembered process-wide, so they can be found again by
// identifier (bundleWithIdentifier), as the platform's bundle lookup does.
class Bundle {
public:
    // Opens the bundle at the given folder; null when the folder or its Info.plist cannot be read.
    static std::shared_ptr<Bundle> open(const QString& bundlePath);
    // An Info.plist file read as open() reads it, without opening or remembering a bundle; none
    // when it cannot be read, is no dictionary, or holds a NUL in a key or string.
    static std::optional<QVariantMap> readInfoDictionary(const QString& plistPath);
    // A bundle opened earlier in this process with this CFBundleIdentifier, or null.
    static std::shared_ptr<Bundle> bundleWithIdentifier(const QString& identifier);

    QString bundlePath() const;
    QString bundleIdentifier() const;
    QString resourcePath() const;
    QString executablePath() const;

    // The whole Info.plist as Qt values: strings, booleans, integers, reals, dates, data,
    // arrays (QVariantList) and dictionaries (QVariantMap).
    QVariantMap infoDictionary() const;
    // One Info.plist value; an invalid QVariant when the key is absent.
    QVariant objectForInfoDictionaryKey(const QString& key) const;

    // Path of a resource (Resources/<name>.<type>, then the localized folders of the preferred
    // languages); a null QString when there is none.
    QString pathForResource(const QString& name, const QString& type) const;
    // The localized folder for the first preferred language the bundle has, else the
    // development language's folder.
    QString localizedResourcePath() const;

    // Looks the key up in the named string table (the default table "Localizable" when the
    // table name is null or empty) for the user's preferred language, falling back to the
    // development language. A missing key gives the value when it is not null and not empty,
    // else the key itself.
    QString localizedStringForKey(const QString& key, const QString& value,
                                  const QString& tableName) const;

    // The translation of the key in one table (the default table when the name is null or
    // empty) of one localization; a null QString when that table has no entry for the key.
    QString stringForKeyInLocalization(const QString& key, const QString& tableName,
                                       const QString& localization) const;

    // The languages the bundle has string tables for (read once), and the development region.
    QStringList localizations() const;
    // The bundle's localizations in search order: those matching the preferred languages, most
    // preferred first, then the development language (present even without a folder).
    QStringList preferredLocalizations() const;
    QString developmentLocalization() const;

    // The user's preferred languages, most preferred first: from the environment (else the
    // system locale), read once per process.
    static QStringList preferredLanguages();
    // Replaces the preferred languages for this process; an empty list restores the default,
    // read from the environment again at the next use.
    static void setPreferredLanguagesForTesting(const QStringList& languages);

    ~Bundle();
    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;

private:
    struct Private;
    // The search order for these languages; the caller holds the cache lock.
    QStringList searchOrderFor(const QStringList& languages) const;
    explicit Bundle(std::unique_ptr<Private> d);
    std::unique_ptr<Private> d;
};

} // namespace kit
