#include "ResultFile.h"
#include "UnitPC1.h"

#include <QRandomGenerator>
#include <QTest>

using UnitPC1::DecipherText;
using UnitPC1::EncipherText;

namespace {

const QByteArray Key = ResultFile::keyBytes();

QByteArray randomPlain(QRandomGenerator &random, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (auto &b : bytes)
        b = char(random.bounded(1, 256)); // no zero byte: it would end the plaintext
    return bytes;
}

// The cipher written out literally from its published steps, with 16-bit variables, as a yardstick
// for the program's own (faster) code.
QByteArray referenceDecipher(const QByteArray &key, const QByteArray &text)
{
    quint8 keyBytes[16] = {};
    for (int k = 0; k < 16 && k < key.size() && key[k] != '\0'; ++k)
        keyBytes[k] = quint8(key[k]);
    quint16 sum = 0, carry = 0, words[8] = {};
    auto round = [&](int i) {
        const quint16 w = words[i];
        const quint16 d = quint16(sum + i);
        const quint16 oldCarry = carry;
        sum = quint16(quint16(d * 20021) + quint16(346 * w) + oldCarry);
        carry = quint16(346 * w);
        words[i] = quint16(w * 20021 + 1);
        return quint16(words[i] ^ sum);
    };
    auto value = [](char c) { return c >= 'a' && c <= 'p' ? c - 'a' : 0; };
    QByteArray plain;
    for (qsizetype p = 0; p + 1 < text.size(); p += 2) {
        words[0] = quint16(keyBytes[0] * 256 + keyBytes[1]);
        quint16 w = round(0);
        for (int k = 1; k < 8; ++k) {
            words[k] = quint16(words[k - 1] ^ (keyBytes[2 * k] * 256 + keyBytes[2 * k + 1]));
            w ^= round(k);
        }
        const quint8 c = quint8((value(text[p]) * 16 + value(text[p + 1])) ^ ((w >> 8) ^ (w & 255)));
        for (auto &b : keyBytes)
            b ^= c;
        if (c == 0)
            break;
        plain.append(char(c));
    }
    return plain;
}

} // namespace

class TestCipher : public QObject
{
    Q_OBJECT
private slots:
    void keyIsSixteenBytes();
    void matchesPublishedSteps_data();
    void matchesPublishedSteps();
    void roundTrip_data();
    void roundTrip();
    void shortTexts_data();
    void shortTexts();
    void otherCharactersStillPair();
    void lineBreakAfterLettersAddsOneByte();
    void zeroByteEndsPlaintext();
    void independentOfEarlierCalls();
    void keyPadding();
    void lettersOnly();
};

void TestCipher::keyIsSixteenBytes()
{
    QCOMPARE(Key.size(), 16);
    QCOMPARE(quint8(Key[7]), quint8(0xE6)); // "ж" in windows-1251
}

void TestCipher::matchesPublishedSteps_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("text");
    QRandomGenerator random(20261207);
    QByteArray letters(4000, Qt::Uninitialized);
    for (auto &c : letters)
        c = char('a' + random.bounded(16));
    QTest::newRow("file key, random letters") << Key << letters;
    QTest::newRow("short key") << QByteArray("k1") << letters.left(999);
    QTest::newRow("other characters") << Key << QByteArray("ABC xyz\r\n0123456789pppp~~aa\xff\x80");
    QTest::newRow("sample-like") << Key << EncipherText(Key, "01.02.2003\r\n0042\r\n\xd2\xe5\xf1\xf2\r\n");
}

void TestCipher::matchesPublishedSteps()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, text);
    const QByteArray expected = referenceDecipher(key, text);
    QCOMPARE(DecipherText(key, text), expected);
    // Enciphering the reference plaintext gives letters that decipher to it again.
    QCOMPARE(referenceDecipher(key, EncipherText(key, expected)), expected);
}

void TestCipher::roundTrip_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("1 byte") << 1;
    QTest::newRow("1 kB") << 1024;
    QTest::newRow("largest result file") << int(UnitPC1::MaxPlainTextLength);
    for (int k = 0; k < 5; ++k)
        QTest::addRow("random size %d", k) << int(QRandomGenerator::global()->bounded(2, 33000));
}

void TestCipher::roundTrip()
{
    QFETCH(int, size);
    QRandomGenerator random(quint32(size) * 7919u);
    const QByteArray plain = randomPlain(random, size);
    const QByteArray letters = EncipherText(Key, plain);
    QCOMPARE(letters.size(), 2 * plain.size());
    QCOMPARE(DecipherText(Key, letters), plain);
}

void TestCipher::shortTexts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("plainSize");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("one letter") << QByteArray("a") << 0;
}

void TestCipher::shortTexts()
{
    QFETCH(QByteArray, text);
    QFETCH(int, plainSize);
    QCOMPARE(DecipherText(Key, text).size(), plainSize);
}

void TestCipher::otherCharactersStillPair()
{
    const QByteArray plain("Hello, world");
    QByteArray letters = EncipherText(Key, plain);
    // An odd last character is ignored.
    QCOMPARE(DecipherText(Key, letters + "p"), plain);
    // Capitals and digits have the value 0, like "a", and keep their places in the pairing.
    QByteArray withCapital = letters;
    QByteArray withA = letters;
    withCapital[4] = 'Q';
    withA[4] = 'a';
    QCOMPARE(DecipherText(Key, withCapital), DecipherText(Key, withA));
    // A line break inside the text shifts every pair after it.
    QByteArray broken = letters;
    broken.insert(6, "\r\n");
    QVERIFY(DecipherText(Key, broken).left(3) == plain.left(3));
    QVERIFY(DecipherText(Key, broken).mid(4) != plain.mid(4));
}

void TestCipher::lineBreakAfterLettersAddsOneByte()
{
    const QByteArray plain("3,40\r\n");
    const QByteArray deciphered = DecipherText(Key, EncipherText(Key, plain) + "\r\n");
    QVERIFY(deciphered.startsWith(plain));
    QVERIFY(deciphered.size() <= plain.size() + 1);
}

void TestCipher::zeroByteEndsPlaintext()
{
    const QByteArray plain("abc\0def", 7);
    QCOMPARE(DecipherText(Key, EncipherText(Key, plain)), QByteArray("abc"));
}

void TestCipher::independentOfEarlierCalls()
{
    const QByteArray letters = EncipherText(Key, "Отчёт");
    const QByteArray first = DecipherText(Key, letters);
    DecipherText(Key, EncipherText(Key, "something else entirely"));
    QCOMPARE(DecipherText(Key, letters), first);
}

void TestCipher::keyPadding()
{
    const QByteArray plain("padding test");
    const QByteArray shortKey("abc");
    QCOMPARE(EncipherText(shortKey, plain), EncipherText(QByteArray("abc\0\0\0\0\0\0\0\0\0\0\0\0\0", 16), plain));
    // Bytes after the sixteenth do not count.
    QCOMPARE(EncipherText(Key + "extra", plain), EncipherText(Key, plain));
    QVERIFY(EncipherText(shortKey, plain) != EncipherText(Key, plain));
}

void TestCipher::lettersOnly()
{
    const QByteArray letters = EncipherText(Key, QByteArray(500, 'x'));
    for (char c : letters)
        QVERIFY(c >= 'a' && c <= 'p');
}

QTEST_APPLESS_MAIN(TestCipher)
#include "tst_cipher.moc"
