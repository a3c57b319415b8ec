// SPDX-License-Identifier: GPL-3.0-or-later
// Every input a fuzz target found a fault with is kept in tests/regressions/<target>/ and goes
// through the same entry as in the fuzz target, so a fault once fixed stays fixed.

#include "testsupport/picture_entries.h"
#include "testsupport/text_entries.h"

#include <QDir>
#include <QTest>

#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace vantok;

namespace
{

#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool UnderAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool UnderAddressSanitizer = false;
#endif

// Room for the largest picture the size limit admits and its copies, and no more: a decoder that
// asks for gigabytes gets nothing here, as on a machine with little memory, instead of untouched
// pages it never uses.
constexpr rlim_t AddressSpaceHeadroom = rlim_t(3) << 30;

rlim_t addressSpaceInUse()
{
    QFile status(u"/proc/self/statm"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    return rlim_t(status.readAll().split(' ').value(0).toULongLong()) * rlim_t(getpagesize());
}

using Entry = std::optional<QString> (*)(QByteArrayView);

Entry entryFor(const QString &target)
{
    if (target == u"component_readings")
        return fuzz::brokenComponentReading;
    if (target == u"wildcard")
        return fuzz::brokenWildcardMatch;
    if (target == u"pcx")
        return fuzz::brokenPcxRead;
    if (target == u"bmp")
        return fuzz::brokenBmpRead;
    if (target == u"picture_loader")
        return fuzz::brokenPictureLoad;
    return nullptr;
}

}  // namespace

class FuzzRegressionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void replays_data();
    void replays();
};

void FuzzRegressionsTest::initTestCase()
{
    applyPictureSizeLimit();
    if (!UnderAddressSanitizer) {  // its shadow memory needs the whole address space
        const rlim_t cap = addressSpaceInUse() + AddressSpaceHeadroom;
        const rlimit limit{cap, cap};
        QVERIFY(setrlimit(RLIMIT_AS, &limit) == 0);
    }
}

void FuzzRegressionsTest::replays_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("input");
    const QDir root(QStringLiteral(VANTOK_REGRESSIONS_DIR));
    for (const QString &target : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir folder(root.filePath(target));
        for (const QString &name : folder.entryList(QDir::Files)) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(target + u'/' + name)) << target << file.readAll();
        }
    }
}

void FuzzRegressionsTest::replays()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, input);
    const Entry entry = entryFor(target);
    QVERIFY2(entry, qPrintable(u"no fuzz target named "_s + target));
    const std::optional<QString> broken = entry(input);
    QVERIFY2(!broken, qPrintable(broken.value_or(QString())));
}

QTEST_GUILESS_MAIN(FuzzRegressionsTest)
#include "test_fuzz_regressions.moc"
