#include "FakeStemmer.h"
#include "RecordingWordProcessor.h"
#include "check/CheckOptions.h"
#include "check/CheckSession.h"
#include "compare/MatchVerdict.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

// The main window's state and steps without the window: the chosen documents, the
// Check with the word processor asked to quit first, the selection and its verdict,
// the word processor's calls, and documents that give no text; the place kept over
// Checks, and the sentences as shown.
class TestCheckSession : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    CheckOptions m_options;
    FakeStemmer m_stemmer;
    std::shared_ptr<WordLog> m_word;
    std::unique_ptr<CheckSession> m_session;

    // Five edited sentences, one per verdict kind, in this order: identical, order,
    // added repeated, removed repeated, forms.
    static QByteArray originalText()
    {
        return QByteArrayLiteral("Мама мыла раму утром. Папа читал газету вечером, газету. "
                                 "Дети играли во дворе долго. Кот спал на диване весь день.\r\n");
    }
    static QByteArray editedText()
    {
        return QByteArrayLiteral("Мама мыла раму утром. Утром мама мыла раму. Дети играли во дворе долго, долго. "
                                 "Папа читал газету вечером. КОТ спал на диване весь день.\r\n");
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // The Check as the window runs it when the word processor holds nothing unsaved.
    const CheckOutcome& check()
    {
        m_session->UnsavedDocuments();
        return m_session->RunCheck(m_options);
    }

    // Chooses the five-kind pair and checks it.
    void checkFiveKinds()
    {
        m_session->SetOriginalPath(write(QStringLiteral("original.txt"), originalText()));
        m_session->SetEditedPath(write(QStringLiteral("edited.txt"), editedText()));
        check();
        m_word->calls.clear();
    }

    static QStringList kindNames(const MatchVerdict& verdict)
    {
        QStringList names;
        for (VerdictKind kind : verdict.kinds)
            names << VerdictKindName(kind);
        return names;
    }

    void verifyNoResults()
    {
        QVERIFY(!m_session->outcome().ok());
        QVERIFY(m_session->matches().isEmpty());
        QVERIFY(!m_session->hasStemDictionary());
        QCOMPARE(m_session->selectedIndex(), -1);
        QVERIFY(!m_session->selectedMatch());
        QVERIFY(m_session->selectedVerdict().kinds.isEmpty());
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void init()
    {
        m_options = CheckOptions();
        m_stemmer.set({});
        m_word = std::make_shared<WordLog>();
        m_session = std::make_unique<CheckSession>(std::make_unique<RecordingWordProcessor>(m_word), m_stemmer);
    }

    // Words of one family are marked apart from the shared words, on both sides.
    void familyWordsAreMarked()
    {
        m_options.NearMatches = true;
        m_session->SetOriginalPath(write(QStringLiteral("original.txt"), "Маленький городок стоял у широкой реки."));
        m_session->SetEditedPath(write(QStringLiteral("edited.txt"), "Маленький город стоял у реки."));
        check();
        QVERIFY(m_session->Select(0, m_options));
        const SelectedPair& pair = m_session->selectedPair();
        QCOMPARE(pair.originalRelated, (QList<SelectedPair::Span>{{10, 7}}));
        QCOMPARE(pair.editedRelated, (QList<SelectedPair::Span>{{10, 5}}));
        QCOMPARE(pair.editedShared.size(), 4);
    }

    void selectionCoversExactThenNearRows_data()
    {
        QTest::addColumn<qsizetype>("row");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<qsizetype>("editedShared");
        QTest::newRow("exact row") << qsizetype(0) << true << true << u"Мама мыла раму утром"_qs << qsizetype(4);
        QTest::newRow("near row") << qsizetype(1) << true << false << u"Лиса быстро бежит через поле к тёмному лесу"_qs
                                  << qsizetype(7);
        QTest::newRow("past the last row") << qsizetype(2) << false << false << QString() << qsizetype(0);
        QTest::newRow("negative") << qsizetype(-1) << false << false << QString() << qsizetype(0);
    }
    void selectionCoversExactThenNearRows()
    {
        QFETCH(qsizetype, row);
        QFETCH(bool, selected);
        QFETCH(bool, exact);
        QFETCH(QString, edited);
        QFETCH(qsizetype, editedShared);
        m_options.NearMatches = true;
        m_session->SetOriginalPath(write(QStringLiteral("original.txt"),
                                         "Лиса быстро бежит через широкое поле к лесу. Мама мыла раму утром."));
        const QString editedPath =
            write(QStringLiteral("edited.txt"), "Мама мыла раму утром. Лиса быстро бежит через поле к тёмному лесу.");
        m_session->SetEditedPath(editedPath);
        check();
        QCOMPARE(m_session->matchCount(), 2);
        QCOMPARE(m_session->Select(row, m_options), selected);
        if (!selected) {
            // The Check's own selection, the first row, stays.
            QCOMPARE(m_session->selectedIndex(), 0);
            return;
        }
        QCOMPARE(m_session->selectedIndex(), row);
        QCOMPARE(m_session->selectedMatch() != nullptr, exact);
        QCOMPARE(m_session->selectedNear() != nullptr, !exact);
        QCOMPARE(m_session->selectedNearVerdict().isEmpty(), exact);
        QCOMPARE(m_session->selectedVerdict().kinds.isEmpty(), !exact);
        QCOMPARE(m_session->selectedPair().edited, edited);
        QCOMPARE(m_session->selectedPair().editedShared.size(), editedShared);
        // The word processor is asked for the sentence without the space before it.
        m_session->ShowSelectedInWord();
        QCOMPARE(m_word->phrases.last(), edited);

        m_session->ClearResults();
        QVERIFY(!m_session->selectedNear());
        QVERIFY(m_session->selectedNearVerdict().isEmpty());
        QVERIFY(m_session->selectedPair().edited.isEmpty());
    }

    void pathsAndCanCheck_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<bool>("canCheck");
        QTest::newRow("none chosen") << QString() << QString() << false;
        QTest::newRow("original only") << u"/docs/a.doc"_qs << QString() << false;
        QTest::newRow("edited only") << QString() << u"/docs/b.doc"_qs << false;
        QTest::newRow("both") << u"/docs/a.doc"_qs << u"/docs/b.doc"_qs << true;
        QTest::newRow("one file for both") << u"/docs/a.doc"_qs << u"/docs/a.doc"_qs << true;
    }
    void pathsAndCanCheck()
    {
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(bool, canCheck);
        QVERIFY(!m_session->canCheck());
        m_session->SetOriginalPath(original);
        m_session->SetEditedPath(edited);
        QCOMPARE(m_session->originalPath(), original);
        QCOMPARE(m_session->editedPath(), edited);
        QCOMPARE(m_session->canCheck(), canCheck);
        // Choosing a path asks nothing of the word processor by itself.
        QVERIFY(m_word->calls.isEmpty());
    }

    void checkReadsWhatTheWordProcessorSaved()
    {
        const QString original = write(QStringLiteral("original.txt"), originalText());
        const QString edited = write(QStringLiteral("edited.txt"), "Совсем другой текст про погоду сегодня.\r\n");
        // The student's last edits are still unsaved in the word processor; saving them
        // there puts them on disk, where the Check reads them.
        m_word->unsaved = {edited};
        m_word->onSave = [&](const QStringList&) { write(QStringLiteral("edited.txt"), editedText()); };
        m_session->SetOriginalPath(original);
        m_session->SetEditedPath(edited);
        QCOMPARE(m_session->UnsavedDocuments(), QStringList{edited});
        QVERIFY(m_session->SaveDocuments({edited}).ok);
        const CheckOutcome& outcome = m_session->RunCheck(m_options);
        QCOMPARE(m_word->calls, (QStringList{u"unsaved"_qs, u"save"_qs}));
        QVERIFY(outcome.ok());
        QCOMPARE(outcome.matches.size(), 5);
        QVERIFY(m_session->hasStemDictionary());

        // Nothing unsaved any more: asked, nothing saved.
        m_word->calls.clear();
        QVERIFY(m_session->UnsavedDocuments().isEmpty());
        QCOMPARE(m_session->RunCheck(m_options).matches.size(), 5);
        QCOMPARE(m_word->calls, QStringList{u"unsaved"_qs});
    }

    void choosingAPathKeepsOrClearsResults_data()
    {
        QTest::addColumn<bool>("editedSide");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("same original") << false << u"original.txt"_qs << false;
        QTest::newRow("same edited") << true << u"edited.txt"_qs << false;
        QTest::newRow("another original") << false << u"other.txt"_qs << true;
        QTest::newRow("another edited") << true << u"other.txt"_qs << true;
        QTest::newRow("original emptied") << false << QString() << true;
    }
    void choosingAPathKeepsOrClearsResults()
    {
        QFETCH(bool, editedSide);
        QFETCH(QString, name);
        QFETCH(bool, cleared);
        checkFiveKinds();
        QVERIFY(m_session->Select(2, m_options));
        const QString path = name.isEmpty() ? QString() : m_dir.filePath(name);
        if (editedSide)
            m_session->SetEditedPath(path);
        else
            m_session->SetOriginalPath(path);
        if (cleared) {
            verifyNoResults();
        } else {
            QCOMPARE(m_session->matches().size(), 5);
            QVERIFY(m_session->hasStemDictionary());
            QCOMPARE(m_session->selectedIndex(), 2);
        }
        QVERIFY(m_word->calls.isEmpty());
    }

    void select_data()
    {
        QTest::addColumn<qsizetype>("index");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("first") << qsizetype(0) << true;
        QTest::newRow("last") << qsizetype(4) << true;
        QTest::newRow("one past the last") << qsizetype(5) << false;
        QTest::newRow("negative") << qsizetype(-1) << false;
        QTest::newRow("far out") << std::numeric_limits<qsizetype>::max() << false;
    }
    void select()
    {
        QFETCH(qsizetype, index);
        QFETCH(bool, accepted);
        // Before any Check there is nothing to select.
        QVERIFY(!m_session->Select(0, m_options));
        QCOMPARE(m_session->selectedIndex(), -1);
        checkFiveKinds();
        QVERIFY(m_session->Select(1, m_options));
        const MatchVerdict before = m_session->selectedVerdict();
        QCOMPARE(m_session->Select(index, m_options), accepted);
        // A refused index leaves the selection as it was.
        const qsizetype expected = accepted ? index : 1;
        QCOMPARE(m_session->selectedIndex(), expected);
        QVERIFY(m_session->selectedMatch());
        QCOMPARE(*m_session->selectedMatch(), m_session->matches().at(expected));
        if (!accepted)
            QCOMPARE(kindNames(m_session->selectedVerdict()), kindNames(before));
    }

    void selectionVerdicts_data()
    {
        QTest::addColumn<qsizetype>("index");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("removed");
        QTest::newRow("identical") << qsizetype(0) << u"Мама мыла раму утром"_qs << u"Мама мыла раму утром"_qs
                                   << QStringList{u"identical"_qs} << QStringList() << QStringList();
        QTest::newRow("order") << qsizetype(1) << u"Мама мыла раму утром"_qs << u" Утром мама мыла раму"_qs
                               << QStringList{u"order"_qs} << QStringList() << QStringList();
        QTest::newRow("added repeated") << qsizetype(2) << u" Дети играли во дворе долго"_qs
                                        << u" Дети играли во дворе долго, долго"_qs << QStringList{u"added_repeated"_qs}
                                        << QStringList{u"долго"_qs} << QStringList();
        QTest::newRow("removed repeated")
            << qsizetype(3) << u" Папа читал газету вечером, газету"_qs << u" Папа читал газету вечером"_qs
            << QStringList{u"removed_repeated"_qs} << QStringList() << QStringList{u"газету"_qs};
        QTest::newRow("forms") << qsizetype(4) << u" Кот спал на диване весь день"_qs
                               << u" КОТ спал на диване весь день"_qs << QStringList{u"forms"_qs} << QStringList()
                               << QStringList();
    }
    void selectionVerdicts()
    {
        QFETCH(qsizetype, index);
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(QStringList, kinds);
        QFETCH(QStringList, added);
        QFETCH(QStringList, removed);
        checkFiveKinds();
        QVERIFY(m_session->Select(index, m_options));
        QCOMPARE(m_session->selectedMatch()->original, original);
        QCOMPARE(m_session->selectedMatch()->edited, edited);
        QCOMPARE(kindNames(m_session->selectedVerdict()), kinds);
        QCOMPARE(m_session->selectedVerdict().added, added);
        QCOMPARE(m_session->selectedVerdict().removed, removed);
    }

    void showSelectedInWord_data()
    {
        QTest::addColumn<qsizetype>("index");
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<bool>("ok");
        QTest::newRow("first match, selected by the Check") << qsizetype(-1) << u"Мама мыла раму утром"_qs << true;
        // Held as " Утром мама мыла раму": searched for without the space before it.
        QTest::newRow("match selected") << qsizetype(1) << u"Утром мама мыла раму"_qs << true;
        QTest::newRow("word processor fails") << qsizetype(1) << u"Утром мама мыла раму"_qs << false;
    }
    void showSelectedInWord()
    {
        QFETCH(qsizetype, index);
        QFETCH(QString, phrase);
        QFETCH(bool, ok);
        checkFiveKinds();
        if (index >= 0)
            QVERIFY(m_session->Select(index, m_options));
        m_word->nextResult = {ok, ok ? QString() : QStringLiteral(u"Текстовый процессор не найден.")};
        const WordProcessor::Result result = m_session->ShowSelectedInWord();
        QCOMPARE(m_word->calls, QStringList{u"show"_qs});
        QCOMPARE(m_word->phrases, QStringList{phrase});
        QCOMPARE(m_word->paths, QStringList{m_session->editedPath()});
        QCOMPARE(result.ok, ok);
        QCOMPARE(result.message, m_word->nextResult.message);
    }

    // Found with the space and tab after the previous full stop, shown and searched for
    // without them.
    void sentenceIsShownWithoutSurroundingSpace()
    {
        const QByteArray text = "Кот ест рыбу дома. \tПёс грызёт кость во дворе.  ";
        m_session->SetOriginalPath(write(QStringLiteral("original.txt"), text));
        m_session->SetEditedPath(write(QStringLiteral("edited.txt"), text));
        check();
        QVERIFY(m_session->Select(1, m_options));
        QVERIFY(m_session->selectedMatch()->edited.startsWith(u" \t"_qs));
        const QString shown = u"Пёс грызёт кость во дворе"_qs;
        QCOMPARE(m_session->selectedPair().original, shown);
        QCOMPARE(m_session->selectedPair().edited, shown);
        m_session->ShowSelectedInWord();
        QCOMPARE(m_word->phrases.last(), shown);
    }

    void nothingSelectedShowsNothing()
    {
        QVERIFY(m_session->ShowSelectedInWord().ok);
        QCOMPARE(m_word->phrases, QStringList{QString()});
    }

    void unsavedDocumentsAreTheChosenPairOnly_data()
    {
        QTest::addColumn<bool>("same");
        QTest::newRow("two files") << false;
        QTest::newRow("one file twice") << true;
    }
    void unsavedDocumentsAreTheChosenPairOnly()
    {
        QFETCH(bool, same);
        const QString original = write(QStringLiteral("original.txt"), originalText());
        const QString edited = same ? original : write(QStringLiteral("edited.txt"), editedText());
        const QString other = write(QStringLiteral("other.txt"), editedText());
        m_session->SetOriginalPath(original);
        m_session->SetEditedPath(edited);
        // The student's other work is unsaved too: it is neither named nor saved.
        m_word->unsaved = {other, edited};
        QCOMPARE(m_session->UnsavedDocuments(), QStringList{edited});
        QCOMPARE(m_word->asked, same ? QStringList{original} : (QStringList{original, edited}));
        QCOMPARE(m_word->unsaved, (QStringList{other, edited}));
        // Asking reads nothing.
        QVERIFY(!m_session->hasStemDictionary());
    }

    void placeIsKeptOverChecks_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<qsizetype>("select");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<qsizetype>("selectedAfter");
        const QByteArray a = "Мама мыла раму утром.";
        const QByteArray b = " Дети играли во дворе долго.";
        const QByteArray c = " Кот спал на диване весь день.";
        // The edited copy's rows come in its own order.
        QTest::newRow("same text") << a + b + c << qsizetype(2) << a + b + c << qsizetype(2);
        QTest::newRow("moved up") << a + b + c << qsizetype(2) << b + c << qsizetype(1);
        QTest::newRow("gone: the first") << a + b + c << qsizetype(1) << a + c << qsizetype(0);
        QTest::newRow("second of a repeated sentence")
            << a + b + c + b << qsizetype(3) << a + b + c + b << qsizetype(3);
        QTest::newRow("repeat gone: the one left") << a + b + c + b << qsizetype(3) << a + c + b << qsizetype(2);
    }
    void placeIsKeptOverChecks()
    {
        QFETCH(QByteArray, before);
        QFETCH(qsizetype, select);
        QFETCH(QByteArray, after);
        QFETCH(qsizetype, selectedAfter);
        m_session->SetOriginalPath(write(QStringLiteral("original.txt"), originalText()));
        m_session->SetEditedPath(write(QStringLiteral("edited.txt"), before));
        check();
        QCOMPARE(m_session->selectedIndex(), 0);
        QVERIFY(m_session->Select(select, m_options));
        const QString selected = m_session->selectedPair().edited;
        write(QStringLiteral("edited.txt"), after);
        check();
        QCOMPARE(m_session->selectedIndex(), selectedAfter);
        if (QString::fromUtf8(after).contains(selected))
            QCOMPARE(m_session->selectedPair().edited, selected);
        QVERIFY(!m_session->selectedVerdict().kinds.isEmpty());
    }

    void placeIsKeptOverNearRows()
    {
        m_options.NearMatches = true;
        m_session->SetOriginalPath(write(QStringLiteral("original.txt"),
                                         "Лиса быстро бежит через широкое поле к лесу. Мама мыла раму утром."));
        const QByteArray near = "Лиса быстро бежит через поле к тёмному лесу.";
        m_session->SetEditedPath(write(QStringLiteral("edited.txt"), "Мама мыла раму утром. " + near));
        check();
        QVERIFY(m_session->Select(1, m_options));
        QVERIFY(m_session->selectedNear());
        // The exact sentence rewritten away: the near row moves up and stays selected.
        write(QStringLiteral("edited.txt"), "Совсем иное начало текста здесь. " + near);
        check();
        QCOMPARE(m_session->matchCount(), 1);
        QVERIFY(m_session->selectedNear());
        QCOMPARE(m_session->selectedIndex(), 0);
    }

    // A near match in a disguised copy: shown and searched for as written, its shared
    // words placed on the written text, its tricks marked there.
    void disguisedNearMatchIsShownAsWritten()
    {
        m_options.NearMatches = true;
        m_session->SetOriginalPath(write(QStringLiteral("original.txt"),
                                         "Лиса быстро бежит через широкое поле к лесу. Мама мыла раму утром."));
        const QString written = u"Лиca быcтpo бежит через\u200B поле к тёмному лесу"_qs;
        m_session->SetEditedPath(write(QStringLiteral("edited.txt"), (written + u"."_qs).toUtf8()));
        check();
        QVERIFY(m_session->Select(0, m_options));
        QVERIFY(m_session->selectedNear());
        const SelectedPair& pair = m_session->selectedPair();
        QCOMPARE(pair.edited, written);
        QStringList shared;
        for (const SelectedPair::Span& span : pair.editedShared)
            shared << pair.edited.mid(span.start, span.length);
        QCOMPARE(shared, (QStringList{u"Лиca"_qs, u"быcтpo"_qs, u"бежит"_qs, u"через\u200B"_qs, u"поле"_qs, u"к"_qs,
                                      u"лесу"_qs}));
        QStringList tricks;
        for (const TrickMark& mark : pair.editedTricks)
            tricks << pair.edited.mid(mark.start, mark.length);
        QCOMPARE(tricks, (QStringList{u"ca"_qs, u"c"_qs, u"po"_qs, u"\u200B"_qs}));
        QVERIFY(pair.seenThrough());
        QVERIFY(pair.originalTricks.isEmpty());
        const QList<CheckSession::MapCell> map = m_session->CopyMap();
        QCOMPARE(map.size(), 1);
        QVERIFY(map.first().tricked);
        m_session->ShowSelectedInWord();
        QCOMPARE(m_word->phrases, QStringList{written});
    }

    // The copy's sentences in text order, each with its kind and the row that lists it:
    // the fox (near, 87 %), the fisherman (near, 93 %), the cat (exact), snow (own).
    void copyMapFollowsTheCopy_data()
    {
        QTest::addColumn<bool>("near");
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<QList<qsizetype>>("rows");
        const int own = int(CheckSession::MapCell::Kind::Original);
        const int exact = int(CheckSession::MapCell::Kind::Exact);
        const int near = int(CheckSession::MapCell::Kind::Near);
        QTest::newRow("near matches") << true << QList<int>{near, near, exact, own} << QList<qsizetype>{2, 1, 0, -1};
        QTest::newRow("near matches off")
            << false << QList<int>{own, own, exact, own} << QList<qsizetype>{-1, -1, 0, -1};
    }
    void copyMapFollowsTheCopy()
    {
        QFETCH(bool, near);
        QFETCH(QList<int>, kinds);
        QFETCH(QList<qsizetype>, rows);
        m_options.NearMatches = near;
        m_session->SetOriginalPath(write(QStringLiteral("original.txt"),
                                         "Кот ест рыбу дома каждый вечер. Лиса быстро бежит через широкое поле к лесу. "
                                         "Старый рыбак чинит сети на берегу реки утром."));
        m_session->SetEditedPath(write(QStringLiteral("edited.txt"),
                                       "Лиса быстро бежит через поле к тёмному лесу. Старый рыбак чинит сети на берегу "
                                       "утром. Кот ест рыбу дома каждый вечер. Зимой в горах часто идёт густой снег."));
        check();
        QList<int> gotKinds;
        QList<qsizetype> gotRows;
        QList<qint32> words;
        for (const CheckSession::MapCell& cell : m_session->CopyMap()) {
            gotKinds << int(cell.kind);
            gotRows << cell.row;
            words << cell.words;
        }
        QCOMPARE(gotKinds, kinds);
        QCOMPARE(gotRows, rows);
        QCOMPARE(words, (QList<qint32>{8, 7, 6, 7}));
    }

    void placeSurvivesAFailedCheck()
    {
        checkFiveKinds();
        QVERIFY(m_session->Select(3, m_options));
        QVERIFY(QFile::remove(m_session->editedPath()));
        QVERIFY(!check().ok());
        verifyNoResults();
        write(QStringLiteral("edited.txt"), editedText());
        check();
        QCOMPARE(m_session->selectedIndex(), 3);
    }

    void anotherDocumentForgetsThePlace()
    {
        checkFiveKinds();
        QVERIFY(m_session->Select(3, m_options));
        m_session->SetEditedPath(write(QStringLiteral("other.txt"), editedText()));
        check();
        QCOMPARE(m_session->selectedIndex(), 0);
    }

    void closeDropsResultsAndQuitsOwnInstances()
    {
        checkFiveKinds();
        QVERIFY(m_session->Select(0, m_options));
        m_session->Close();
        QCOMPARE(m_word->calls, QStringList{u"quitOwn"_qs});
        verifyNoResults();
    }

    void unreadableDocumentGivesReasons()
    {
        checkFiveKinds();
        QVERIFY(m_session->Select(0, m_options));
        const QString missing = m_dir.filePath(QStringLiteral(u"нет такого файла.doc"));
        m_session->SetOriginalPath(missing);
        const CheckOutcome& outcome = check();
        // Only asked about unsaved changes, as for every Check.
        QCOMPARE(m_word->calls, QStringList{u"unsaved"_qs});
        QCOMPARE(outcome.original.error, ExtractError::FileMissing);
        QVERIFY(!outcome.original.reason().isEmpty());
        // The other document is still read.
        QVERIFY(outcome.edited.ok());
        verifyNoResults();
        QCOMPARE(m_session->originalPath(), missing);
    }

    void blankDocumentIsNoText_data()
    {
        QTest::addColumn<QByteArray>("blank");
        QTest::addColumn<bool>("asOriginal");
        const QByteArray spaces = QByteArrayLiteral("   \r\n\r\n \t \n  \r\n");
        const QByteArray punctuation = QByteArrayLiteral("... , ! ? - «» ;:\r\n—\r\n");
        QTest::newRow("spaces and line breaks as original") << spaces << true;
        QTest::newRow("spaces and line breaks as edited") << spaces << false;
        QTest::newRow("punctuation only as original") << punctuation << true;
        QTest::newRow("punctuation only as edited") << punctuation << false;
    }
    void blankDocumentIsNoText()
    {
        QFETCH(QByteArray, blank);
        QFETCH(bool, asOriginal);
        checkFiveKinds();
        const QString path = write(QStringLiteral("blank.txt"), blank);
        if (asOriginal)
            m_session->SetOriginalPath(path);
        else
            m_session->SetEditedPath(path);
        const CheckOutcome& outcome = check();
        const ExtractResult& refused = asOriginal ? outcome.original : outcome.edited;
        const ExtractResult& other = asOriginal ? outcome.edited : outcome.original;
        QCOMPARE(refused.error, ExtractError::NoText);
        QVERIFY(refused.text.isEmpty());
        QCOMPARE(refused.reason(), QStringLiteral(u"в документе нет текста"));
        QVERIFY(other.ok());
        verifyNoResults();
    }
};

QTEST_GUILESS_MAIN(TestCheckSession)
#include "tst_checksession.moc"
