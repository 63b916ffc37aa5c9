#include "settings/AppSettings.h"

#include "settings/QtSettingsStore.h"

namespace {

// Scratch buffer size of one string value: 1024 bytes, terminator included.
constexpr int kStringValueBytes = 1024;

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
    options.NearThreshold = NearThreshold;
    return options;
}

void AppSettings::Load()
{
    auto store = openStore();
    QString delimiters1;
    QString delimiters2;
    qint32 minWords = 0;
    // Delimiters1 decides: when it reads, all three take what was read (a missing
    // Delimiters2 leaves an empty set, a missing MinWords 0); otherwise all default.
    const bool haveDelimiters1 =
        store->LoadStringSetting(QStringLiteral("Delimiters1"), delimiters1, kStringValueBytes);
    store->LoadStringSetting(QStringLiteral("Delimiters2"), delimiters2, kStringValueBytes);
    store->LoadMinWords(minWords);
    if (haveDelimiters1) {
        Delimiters1 = delimiters1;
        Delimiters2 = delimiters2;
        MinWords = minWords;
    } else {
        Delimiters1 = DefaultDelimiters1();
        Delimiters2 = DefaultDelimiters2();
        MinWords = DefaultMinWords;
    }
    // The near-match values stand on their own: each one missing or out of range
    // takes its default.
    qint32 nearMatches = -1;
    NearMatches =
        store->LoadNumberSetting(QStringLiteral("NearMatches"), nearMatches) && (nearMatches == 0 || nearMatches == 1)
            ? nearMatches == 1
            : DefaultNearMatches;
    qint32 threshold = 0;
    NearThreshold =
        store->LoadNumberSetting(QStringLiteral("NearThreshold"), threshold) && threshold >= 1 && threshold <= 100
            ? threshold
            : DefaultNearThreshold;
    qint32 recheck = -1;
    RecheckOnSave = store->LoadNumberSetting(QStringLiteral("RecheckOnSave"), recheck) && (recheck == 0 || recheck == 1)
                        ? recheck == 1
                        : DefaultRecheckOnSave;
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
}
