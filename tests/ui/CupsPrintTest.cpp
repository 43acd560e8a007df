// Printing through a real print queue: a private CUPS server with a cups-pdf queue (started by
// cups-print.sh, which names it in ZOLT_TEST_QUEUE and where the queue writes in
// ZOLT_TEST_PDF_DIR). Both programs' reports go through the print dialog to the queue: two
// copies are two completed jobs, and the text of the PDF the queue wrote is the text of the
// program's own PDF.
#include "finder/app/FinderWindow.h"
#include "screener/app/ScreenerWindow.h"
#include "support/ZoltRunner.h"
#include "ui/UiTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

namespace {

const hostdb::DateTimeValue Now = hostdb::EncodeDateTime(2026, 12, 7, 12, 0);

QString PdfText(const QString& pdf) {
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    if (!text.waitForFinished(60000)) return {};
    return QString::fromUtf8(text.readAllStandardOutput());
}

} // namespace

class CupsPrintTest : public QObject {
    Q_OBJECT

    testutil::MadeHost host_{{.tickers = 60, .now = Now}};
    QString queue_ = qEnvironmentVariable("ZOLT_TEST_QUEUE");
    QDir out_{qEnvironmentVariable("ZOLT_TEST_PDF_DIR")};

    // Jobs the queue has completed so far.
    int CompletedJobs() {
        QProcess lpstat;
        lpstat.start("lpstat", {"-W", "completed", "-o", queue_});
        lpstat.waitForFinished(10000);
        return static_cast<int>(lpstat.readAllStandardOutput().count('\n'));
    }

    // Chooses in the print dialog as a user does: the printer (or "Print to File (PDF)" with
    // its file name) and the copies, then OK.
    static void Choose(QPrintDialog* d, const QString& printer, const QString& file, int copies) {
        auto* printers = d->findChild<QComboBox*>("printers");
        QVERIFY(printers);
        const int index = printers->findText(printer);
        QVERIFY2(index >= 0, qPrintable(printer));
        printers->setCurrentIndex(index);
        if (!file.isEmpty()) d->findChild<QLineEdit*>("filename")->setText(file);
        d->findChild<QSpinBox*>("copies")->setValue(copies);
        d->accept();
    }

    // Prints through the dialog into our own PDF file, then to the queue with two copies; the
    // newest PDF the queue wrote, once both jobs are complete (empty when they are not).
    QString PrintBothWays(QToolButton* print, QString& own) {
        own = QString::fromStdString((host_.tmp / "own.pdf").string());
        uitest::WhenModal<QPrintDialog>(
            [&](QPrintDialog* d) { Choose(d, "Print to File (PDF)", own, 1); });
        print->click();

        const int before = CompletedJobs();
        uitest::WhenModal<QPrintDialog>([&](QPrintDialog* d) { Choose(d, queue_, {}, 2); });
        print->click();
        // A job for each copy; cups-pdf names its file after the title, so the copies share one.
        for (int waited = 0; waited < 600 && CompletedJobs() < before + 2; ++waited)
            QTest::qWait(100);
        if (CompletedJobs() != before + 2) return {};
        const QStringList written = out_.entryList({"*.pdf"}, QDir::Files, QDir::Time);
        return written.isEmpty() ? QString() : out_.filePath(written.front());
    }

private slots:
    void initTestCase() {
        if (queue_.isEmpty()) QFAIL("run by cups-print.sh, which starts the print server");
        QVERIFY2(out_.exists(), qPrintable(out_.path()));
        testutil::Zolt(host_, {"generate", "--date", "2026-12-04", "--ma", "10"});
    }

    void zoltwReportThroughTheQueue() {
        zoltw::MainSetup setup = host_.Places<zoltw::MainSetup>();
        zoltw::ScreenerWindow w(setup);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen("26120410.vds", true);
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        QString own;
        const QString queued = PrintBothWays(w.Button[zoltw::ScreenerWindow::CmdPrint], own);
        QVERIFY2(!queued.isEmpty(), "the queue did not complete two jobs");
        const QString expected = PdfText(own);
        QVERIFY(expected.contains("Zolt v2.07 Results"));
        QCOMPARE(PdfText(queued), expected);
        QFile::remove(queued);
    }

    void zimraReportThroughTheQueue() {
        zimra::MainSetup setup = host_.Places<zimra::MainSetup>();
        zimra::FinderWindow w(setup);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        finder::FinderSettings s;
        s.MarketDate = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
        s.MarketAction = 3;
        s.MarketLine = 11;
        w.RunFind(s);
        QString own;
        const QString queued = PrintBothWays(w.PrintButton, own);
        QVERIFY2(!queued.isEmpty(), "the queue did not complete two jobs");
        const QString expected = PdfText(own);
        QVERIFY(expected.contains("ZimRA Results"));
        QCOMPARE(PdfText(queued), expected);
        QFile::remove(queued);
    }
};

ZOLT_UI_TEST_MAIN(CupsPrintTest)
#include "CupsPrintTest.moc"
