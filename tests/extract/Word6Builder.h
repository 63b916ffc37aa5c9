#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

// Builds Word 6.0 / Word 95 documents for the tests, as no program on this machine
// writes them. The layout follows the published description of the format:
//  - a compound file (version 3, 512-byte sectors) with one FAT sector, one directory
//    sector and the WordDocument stream, padded to 4096 bytes so it lives in the FAT
//    chain rather than the mini stream;
//  - the stream starts with the Word 6 file information block: wIdent 0xA5DC, nFib
//    (101 Word 6.0, 104 Word 95), lid at 0x06, flags at 0x0A (fComplex 0x0004,
//    fEncrypted 0x0100), chse at 0x14 (256: Macintosh), fcMin/fcMac at 0x18/0x1C, the
//    story lengths ccpText, ccpFtn, ccpHdd, ccpMcr, ccpAtn, ccpEdn from 0x34, and the
//    fc/lcb pairs from 0x58 (the font table is pair 15, the piece table pair 33);
//  - the text is 8-bit. A plain file keeps it in one run from fcMin. A fast-saved file
//    (fComplex) keeps it in pieces anywhere in the stream, listed by the piece table:
//    0x02, its size, the pieces' character positions and 8-byte descriptors whose
//    bytes 2-5 are the piece's offset; text outside the pieces is stale.
//  - the font table: its total size (16 bits), then per font its size less one, flags,
//    weight (16 bits), character set, alternate-name offset and a NUL-ended name.
class Word6Builder
{
public:
    struct Font
    {
        QByteArray name;
        quint8 charset;
    };

    quint16 nFib = 101;
    quint16 lid = 0x0409;
    quint16 chse = 0;
    bool encrypted = false;
    QList<Font> fonts;
    QByteArray main;      // 8-bit text of the main story, paragraphs ended by \r
    QByteArray footnotes; // ...and of the footnotes story
    // Fast-saved: the text is split in this many pieces stored in reverse order, with
    // stale bytes where the text first stood.
    int fastSavedPieces = 0;

    QByteArray build() const { return compoundFile(wordDocument()); }

    QByteArray wordDocument() const
    {
        QByteArray wd(0x200, '\0');
        const QByteArray text = main + footnotes;
        put16(wd, 0x00, 0xA5DC);
        put16(wd, 0x02, nFib);
        put16(wd, 0x06, lid);
        put16(wd, 0x0A, quint16((fastSavedPieces > 0 ? 0x0004 : 0) | (encrypted ? 0x0100 : 0)));
        put16(wd, 0x14, chse);
        put32(wd, 0x34, quint32(main.size()));
        put32(wd, 0x38, quint32(footnotes.size()));
        const quint32 fcMin = quint32(wd.size());
        if (fastSavedPieces > 0) {
            // The first save's text, since edited: stale, and never to be read.
            wd += QByteArray(text.size(), 'X');
        } else {
            wd += text;
        }
        put32(wd, 0x18, fcMin);
        put32(wd, 0x1C, quint32(wd.size()));
        if (!fonts.isEmpty()) {
            QByteArray table(2, '\0');
            for (const Font& font : fonts) {
                QByteArray ffn =
                    QByteArray(1, '\0') + QByteArray("\x04\x90\x01", 3) + char(font.charset) + '\0' + font.name + '\0';
                ffn[0] = char(ffn.size() - 1);
                table += ffn;
            }
            put16(table, 0, quint16(table.size()));
            pair(wd, 15, table);
        }
        if (fastSavedPieces > 0) {
            const int n = fastSavedPieces;
            QList<quint32> cps;
            QList<quint32> fcs(n);
            for (int i = 0; i <= n; ++i)
                cps.append(quint32(text.size() * i / n));
            for (int i = n - 1; i >= 0; --i) {
                fcs[i] = quint32(wd.size());
                wd += text.mid(cps[i], cps[i + 1] - cps[i]);
            }
            QByteArray plc;
            for (const quint32 cp : cps)
                plc += le32(cp);
            for (const quint32 fc : fcs)
                plc += QByteArray(2, '\0') + le32(fc) + QByteArray(2, '\0');
            // A property list entry first, as fast saves write them.
            const QByteArray clx = QByteArray("\x01\x02\x00\x41\x01", 5) + '\x02' + le32(quint32(plc.size())) + plc;
            pair(wd, 33, clx);
        }
        if (wd.size() < 4096)
            wd.append(QByteArray(4096 - wd.size(), '\0'));
        return wd;
    }

    // A compound file holding one stream named WordDocument.
    static QByteArray compoundFile(const QByteArray& stream)
    {
        const int dataSectors = int((stream.size() + 511) / 512);
        QByteArray header(512, '\0');
        header.replace(0, 8, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
        put16(header, 24, 0x003E);
        put16(header, 26, 3);
        put16(header, 28, 0xFFFE);
        put16(header, 30, 9);
        put16(header, 32, 6);
        put32(header, 44, 1);          // FAT sectors
        put32(header, 48, 1);          // first directory sector
        put32(header, 56, 4096);       // mini stream cutoff
        put32(header, 60, 0xFFFFFFFE); // no mini FAT
        put32(header, 68, 0xFFFFFFFE); // no further DIFAT
        for (int i = 0; i < 109; ++i)
            put32(header, 76 + 4 * i, i == 0 ? 0 : 0xFFFFFFFF);

        QByteArray fat(512, '\xFF');
        put32(fat, 0, 0xFFFFFFFD); // this sector holds the FAT
        put32(fat, 4, 0xFFFFFFFE); // the directory: one sector
        for (int i = 0; i < dataSectors; ++i)
            put32(fat, 4 * (2 + i), i + 1 < dataSectors ? quint32(3 + i) : 0xFFFFFFFE);

        QByteArray directory(512, '\0');
        entry(directory, 0, u"Root Entry", 5, 1, 0xFFFFFFFE, 0);
        entry(directory, 128, u"WordDocument", 2, 0xFFFFFFFF, 2, quint32(stream.size()));

        QByteArray data = stream;
        data.append(QByteArray(dataSectors * 512 - data.size(), '\0'));
        return header + fat + directory + data;
    }

private:
    static QByteArray le32(quint32 v)
    {
        QByteArray b(4, '\0');
        put32(b, 0, v);
        return b;
    }
    static void put16(QByteArray& b, qsizetype at, quint16 v) { qToLittleEndian(v, b.data() + at); }
    static void put32(QByteArray& b, qsizetype at, quint32 v) { qToLittleEndian(v, b.data() + at); }

    // Appends a structure to the stream and points fc/lcb pair `index` at it.
    static void pair(QByteArray& wd, int index, const QByteArray& bytes)
    {
        put32(wd, 0x58 + 8 * index, quint32(wd.size()));
        put32(wd, 0x58 + 8 * index + 4, quint32(bytes.size()));
        wd += bytes;
    }

    static void entry(QByteArray& dir, int at, std::u16string_view name, quint8 type, quint32 child, quint32 start,
                      quint32 size)
    {
        for (size_t i = 0; i < name.size(); ++i)
            put16(dir, at + 2 * qsizetype(i), name[i]);
        put16(dir, at + 64, quint16(2 * (name.size() + 1)));
        dir[at + 66] = char(type);
        dir[at + 67] = 1; // black
        put32(dir, at + 68, 0xFFFFFFFF);
        put32(dir, at + 72, 0xFFFFFFFF);
        put32(dir, at + 76, child);
        put32(dir, at + 116, start);
        put32(dir, at + 120, size);
    }
};
