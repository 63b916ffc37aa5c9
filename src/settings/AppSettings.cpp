#include "settings/AppSettings.h"

#include "settings/QtSettingsStore.h"

namespace {

// Scratch buffer size of one string value: 1024 bytes, terminator included.
constexpr int kStringValueBytes = 1024;
// The most sources a Check takes, and so the most the record keeps.
constexpr qint32 kMaxSources = 1000;

std::unique_ptr<AppSettings>& record()
{
    static std::unique_ptr<AppSettings> instance;
    return instance;
}

AppSettings::StoreFactory& storeFactory()
{
    static AppSettings::StoreFactory factory;
    return factory;
}

std::unique_ptr<SettingsStore> openStore()
{
    if (storeFactory())
        return storeFactory()();
    return std::make_unique<QtSettingsStore>();
}

} // namespace

AppSettings& AppSettings::Instance()
{
    auto& instance = record();
    if (!instance) {
        instance.reset(new AppSettings);
        instance->Load();
    }
    return *instance;
}

void AppSettings::Destroy()
{
    record().reset();
}

void AppSettings::SetStoreFactory(StoreFactory factory)
{
    storeFactory() = std::move(factory);
}

QString AppSettings::DefaultDelimiters1()
{
    return CheckOptions::DefaultDelimiters1();
}

QString AppSettings::DefaultDelimiters2WithoutTab()
{
    return CheckOptions::DefaultDelimiters2WithoutTab();
}

QString AppSettings::DefaultDelimiters2()
{
    return CheckOptions::DefaultDelimiters2();
}

CheckOptions AppSettings::checkOptions() const
{
    CheckOptions options;
    options.Delimiters1 = Delimiters1;
    options.Delimiters2 = Delimiters2;
    options.MinWords = MinWords;
    options.NearMatches = NearMatches;
    options.Near.threshold = NearThreshold;
    return options;
}

void AppSettings::Load()
{
    auto store = openStore();
    QString delimiters1;
    QString delimiters2;
    qint32 minWords = 0;
    // Delimiters1 decides: when it is missing, this is a first run and all three take
    // their defaults. Otherwise each of the other two that is missing, or that the
    // options dialog could not have stored, takes its default and is named as mended.
    const bool haveDelimiters1 =
        store->LoadStringSetting(QStringLiteral("Delimiters1"), delimiters1, kStringValueBytes);
    const bool haveDelimiters2 =
        store->LoadStringSetting(QStringLiteral("Delimiters2"), delimiters2, kStringValueBytes);
    const bool haveMinWords = store->LoadMinWords(minWords) && minWords >= CheckOptions::LowestMinWords &&
                              minWords <= CheckOptions::HighestMinWords;
    Delimiters1 = haveDelimiters1 ? delimiters1 : DefaultDelimiters1();
    Delimiters2 = haveDelimiters1 && haveDelimiters2 ? delimiters2 : DefaultDelimiters2();
    MinWords = haveDelimiters1 && haveMinWords ? minWords : DefaultMinWords;
    if (haveDelimiters1 && !haveDelimiters2)
        m_mended.append(QStringLiteral("Delimiters2"));
    if (haveDelimiters1 && !haveMinWords)
        m_mended.append(QStringLiteral("MinWords"));
    // The near-match values stand on their own: each one missing takes its default (it
    // is missing from settings written before there were near matches), and so does
    // each one out of range, named as mended.
    qint32 nearMatches = -1;
    const bool storedNear = store->LoadNumberSetting(QStringLiteral("NearMatches"), nearMatches);
    NearMatches = storedNear && (nearMatches == 0 || nearMatches == 1) ? nearMatches == 1 : DefaultNearMatches;
    if (storedNear && nearMatches != 0 && nearMatches != 1)
        m_mended.append(QStringLiteral("NearMatches"));
    qint32 threshold = 0;
    const bool storedThreshold = store->LoadNumberSetting(QStringLiteral("NearThreshold"), threshold);
    NearThreshold = storedThreshold && threshold >= 1 && threshold <= 100 ? threshold : DefaultNearThreshold;
    if (storedThreshold && (threshold < 1 || threshold > 100))
        m_mended.append(QStringLiteral("NearThreshold"));
    qint32 recheck = -1;
    RecheckOnSave = store->LoadNumberSetting(QStringLiteral("RecheckOnSave"), recheck) && (recheck == 0 || recheck == 1)
                        ? recheck == 1
                        : DefaultRecheckOnSave;
    // The documents checked when the window last closed; none in a record written before there were
    // several sources. A count out of range keeps none.
    store->LoadStringSetting(QStringLiteral("EditedDocument"), EditedDocument, kStringValueBytes);
    qint32 sources = 0;
    if (store->LoadNumberSetting(QStringLiteral("SourceCount"), sources) && sources >= 0 && sources <= kMaxSources) {
        for (qint32 i = 1; i <= sources; ++i) {
            QString path;
            if (store->LoadStringSetting(QStringLiteral("Source%1").arg(i), path, kStringValueBytes) && !path.isEmpty())
                Sources.append(path);
        }
    }
}

void AppSettings::Save()
{
    auto store = openStore();
    store->SaveStringSetting(Delimiters1, QStringLiteral("Delimiters1"));
    store->SaveStringSetting(Delimiters2, QStringLiteral("Delimiters2"));
    store->SaveMinWords(MinWords);
    store->SaveNumberSetting(NearMatches ? 1 : 0, QStringLiteral("NearMatches"));
    store->SaveNumberSetting(NearThreshold, QStringLiteral("NearThreshold"));
    store->SaveNumberSetting(RecheckOnSave ? 1 : 0, QStringLiteral("RecheckOnSave"));
    const auto fits = [](const QString& path) { return !path.isEmpty() && (path.size() + 1) * 2 <= kStringValueBytes; };
    store->SaveStringSetting(fits(EditedDocument) ? EditedDocument : QString(), QStringLiteral("EditedDocument"));
    QStringList kept;
    for (const QString& path : std::as_const(Sources)) {
        if (fits(path) && kept.size() < kMaxSources)
            kept.append(path);
    }
    store->SaveNumberSetting(qint32(kept.size()), QStringLiteral("SourceCount"));
    for (qsizetype i = 0; i < kept.size(); ++i)
        store->SaveStringSetting(kept.at(i), QStringLiteral("Source%1").arg(i + 1));
}
