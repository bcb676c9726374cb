// The member lists on a temporary company: the attendance sheet (hazirun)
// with its page groups and group screen, and the address labels (etiket),
// from the keyboard and the command line.
#include "actions/attendance/attendanceprint.h"
#include "actions/labels/labelsaction.h"
#include "actions/labels/labelsprint.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/pdftext.h"
#include "printing/printcontext.h"
#include "printing/prnx.h"
#include "printing/yzcsetup.h"
#include "screens/attendance/hazgrp.h"
#include "screens/attendance/hazirun.h"
#include "screens/labels/etiket.h"
#include "support/fixture.h"
#include "support/golden.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using namespace Qt::StringLiterals;

QStringList pageEnds(const attendance::Groups &groups, const QStringList &codes) {
    attendance::PageGroups pages(groups);
    QStringList ends;
    for (const QString &kod : codes)
        if (pages.endsPage(kod))
            ends << kod;
    return ends;
}

TEST(AttendanceGroups, PagesEndAfterEachGroupsLastMember) {
    const attendance::Groups defaults = attendance::readGroups(u"/no/such/hazirun.ini"_s);
    attendance::Groups gap{}; // the second group has no end: grouping stops there
    gap[0].end = u"0002"_s;
    gap[2].end = u"0005"_s;
    attendance::Groups blanks{};
    blanks[0].end = u" ab "_s;
    attendance::Groups ten{};
    for (attendance::Group &g : ten)
        g.end = u"0001"_s;
    const struct {
        const char *name;
        attendance::Groups groups;
        QStringList codes, ends;
    } cases[] = {
        {"defaults", defaults, {"0345", "0346", "0347", "0605", "0606", "0607"}, {"0346", "0605"}},
        {"as text", defaults, {"0001", "12", "13"}, {"12", "13"}}, // "12" is beyond "0346"
        {"empty end", gap, {"0001", "0002", "0003", "0004", "0005", "0006"}, {"0002"}},
        {"trimmed and upper-case", blanks, {"aa", " ab"}, {" ab"}},
        {"after the tenth", ten, QStringList(11, u"0001"_s), QStringList(10, u"0001"_s)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pageEnds(c.groups, c.codes), c.ends) << c.name;
}

// Members on both sides of the first default group end, a seller, names to
// order the Turkish way.
class MemberLists : public SessionTest {
  protected:
    MemberLists() {
        session.pictures = false;
        card(u"0344"_s, u"Ömer"_s, u"Kaya"_s, 0);
        card(u"0345"_s, u"Cemil"_s, u"Taş"_s, 0);
        card(u"0346"_s, u"Çiğdem Şükriye Gülbahar Karaosmanoğlu"_s, u""_s, 0);
        card(u"0347"_s, u"İsmail"_s, u"Er"_s, 0);
        card(u"0348"_s, u"Ismail"_s, u"Öz"_s, 1);
        card(u"0349"_s, u"Zeynep"_s, u"Ak"_s, 0);
    }
    void card(const QString &kod, const QString &isim1, const QString &isim2, int asd) {
        addCard(kod, isim1, {}, asd);
        ASSERT_TRUE(data::findMember(session.carkart, kod) && data::RsEdit(session.carkart));
        data::FieldSet(session.carkart, u"isim2"_s, isim2);
        data::FieldSet(session.carkart, u"adr1"_s, u"Gül Sok. "_s + kod);
        data::FieldSet(session.carkart, u"adr3"_s, u"ANKARA"_s);
        ASSERT_TRUE(data::RsUpdate(session.carkart));
    }
    void set(const QString &kod, const QString &field, const QVariant &value) {
        ASSERT_TRUE(data::findMember(session.carkart, kod) && data::RsEdit(session.carkart));
        data::FieldSet(session.carkart, field, value);
        ASSERT_TRUE(data::RsUpdate(session.carkart));
    }
    QStringList listed(const attendance::Query &q) {
        QStringList out;
        const auto members = attendance::load(session, q);
        for (const attendance::Member &m : *members)
            out << m.kod;
        return out;
    }
};

TEST_F(MemberLists, AttendanceListsTheMembersOfTheRange) {
    const attendance::Opening o = attendance::open(session);
    EXPECT_EQ(o.firstCode + u'-' + o.lastCode, u"0344-0349"_s);
    const auto members = attendance::load(session, {u"0344"_s, u"0345"_s, false});
    ASSERT_EQ(members->size(), 2u);
    EXPECT_EQ((*members)[0].unvan, u"Ömer Kaya"_s);
    EXPECT_EQ((*members)[0].adres, u"Gül Sok. 0344  ANKARA"_s);
    const struct {
        attendance::Query query;
        QStringList codes;
    } cases[] = {
        {{u"0344"_s, u"0349"_s, false}, {"0344", "0345", "0346", "0347", "0349"}}, // no seller
        {{u"0344"_s, u"0349"_s, true}, {"0345", "0346", "0347", "0344", "0349"}},  // C Ç İ Ö Z
        {{u"0349"_s, u"0344"_s, false}, {}},
        {{QString(), u"0344"_s, false}, {"0344"}},   // an emptied field
        {{u"0345'%"_s, u"0346"_s, false}, {"0346"}}, // a quote and % are plain text
    };
    for (const auto &c : cases)
        EXPECT_EQ(listed(c.query), c.codes) << c.query.first.left(10).toStdString();
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MemberLists, GroupFileKeepsTheTwentyCodes) {
    const QString file = attendance::groupFile(session);
    QFile partial(file);
    ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
    partial.write("[Gruplar]\r\nSgrup01=0100\r\n");
    partial.close();
    attendance::Groups groups = attendance::readGroups(file);
    EXPECT_EQ(groups[0].end, u"0100"_s);
    EXPECT_EQ(groups[1].start + u'-' + groups[1].end, u"0347-0605"_s); // missing keys: defaults
    EXPECT_EQ(groups[6].end + groups[7].end, u"9999"_s);
    groups[9] = {u"2000"_s, u"2999"_s};
    ASSERT_TRUE(attendance::storeGroups(file, groups, messages));
    const attendance::Groups back = attendance::readGroups(file);
    for (int g = 0; g < attendance::GroupCount; ++g)
        EXPECT_EQ(back[size_t(g)].start + u'-' + back[size_t(g)].end,
                  groups[size_t(g)].start + u'-' + groups[size_t(g)].end);
    EXPECT_FALSE(attendance::storeGroups(u"/no/such/folder/hazirun.ini"_s, groups, messages));
    EXPECT_EQ(messages.lastText(), u"Kaydedilemedi."_s);
}

TEST_F(MemberLists, AttendanceSheetPrintsInBothModes) {
    std::vector<attendance::Member> members =
        *attendance::load(session, {u"0344"_s, u"0349"_s, false});
    for (int n = 600; n <= 607; ++n)
        members.push_back({u"0%1"_s.arg(n), u"Üye %1"_s.arg(n), u"Adres"_s});
    for (const bool dotMatrix : {true, false}) {
        SCOPED_TRACE(dotMatrix);
        QTemporaryDir dir;
        printing::PrintContext context(session);
        attendance::presetPrinter(context.settings);
        EXPECT_EQ(context.settings.title, u"HAZİRUN CETVELİ"_s);
        EXPECT_EQ(context.settings.lineCount, 66);
        context.settings.dotMatrix = dotMatrix;
        context.settings.lineCount = 22; // a page takes 7 rows
        context.settings.title = u"BAŞKA RAPOR"_s;
        // The next print sets its title and keeps the clerk's last choices.
        attendance::presetPrinter(context.settings);
        EXPECT_EQ(context.settings.title, u"HAZİRUN CETVELİ"_s);
        EXPECT_EQ(context.settings.lineCount, 22);
        EXPECT_EQ(context.settings.dotMatrix, dotMatrix);
        context.dotMatrixCopy = dir.filePath(u"job.txt"_s);
        context.pdfFile = dir.filePath(u"job.pdf"_s);
        attendance::PrintOptions options;
        if (dotMatrix)
            options.groups = attendance::readGroups(attendance::groupFile(session));
        else
            options.marks = true;
        std::optional<int> pages;
        {
            prnx p(context);
            pages = attendance::printList(p, messages, members, options);
        }
        // Dot-matrix: ends after 0346 (group), 0604 (length), 0605 (group).
        EXPECT_EQ(pages, dotMatrix ? 4 : 1);
        QFile out(context.dotMatrixCopy);
        EXPECT_GOLDEN(dotMatrix ? (out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray())
                                : pdfWordList(context.pdfFile),
                      dotMatrix ? u"attendance.txt"_s : u"attendance_marks.txt"_s);
    }
    printing::PrintContext context(session);
    prnx p(context);
    EXPECT_FALSE(attendance::printList(p, messages, {}, {}));
    EXPECT_EQ(messages.lastText(), u"Liste Getirilmemiş.."_s);
}

TEST_F(MemberLists, AttendanceScreenFromTheKeyboard) {
    QTemporaryDir dir;
    printing::PrintContext print(session);
    ScreenContext desk(session);
    print.dotMatrixCopy = dir.filePath(u"hazirun.txt"_s);
    print.pdfFile = dir.filePath(u"hazirun.pdf"_s); // a printer to choose
    hazirun w(desk, print);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *first = part<xtext>(w, "ilkKod");
    auto *last = part<xtext>(w, "sonKod");
    auto *grid = part<dclist>(w, "liste");
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(first->Text() + u'-' + last->Text(), u"0344-0349"_s);
    EXPECT_EQ(grid->ListCount(), 5);
    EXPECT_EQ(grid->Caption(4, 0).toString() + u'|' + grid->Caption(4, 1).toString(), u"5|0349"_s);

    // The same query is not read again; a changed one is.
    card(u"0343"_s, u"Ali"_s, u"Veli"_s, 0);
    last->setTextValue(u"0347"_s);
    QTest::keyClick(first, Qt::Key_Return);
    QTest::keyClick(last, Qt::Key_Return);
    for (int i = 0; i < 3; ++i) // the options, "Grupla" ticked on the way
        QTest::keyClick(QApplication::focusWidget(), i == 1 ? Qt::Key_Space : Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(grid->hasFocus());
    EXPECT_TRUE(part<QCheckBox>(w, "grupla")->isChecked());
    EXPECT_EQ(grid->ListCount(), 4);
    first->setFocus();
    first->setTextValue(u"0343"_s);
    grid->setFocus();
    EXPECT_EQ(grid->ListCount(), 5);

    // "Grup Ayar": the first group ends at 0344.
    QTimer::singleShot(0, [] {
        auto *groups = qobject_cast<hazgrp *>(QApplication::activeModalWidget());
        ASSERT_NE(groups, nullptr);
        part<xtext>(*groups, "bitis1")->setTextValue(u"0344"_s);
        part<QPushButton>(*groups, "kaydet")->click();
    });
    part<QPushButton>(w, "grupAyar")->click();
    EXPECT_EQ(attendance::readGroups(attendance::groupFile(session))[0].end, u"0344"_s);

    // F8: the setup, then the sheet, grouped: 0343-0344, then 0345-0347.
    QTimer::singleShot(0, [] {
        auto *setup = qobject_cast<yzcsetup *>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        setup->okButton()->click();
    });
    QTest::keyClick(grid, Qt::Key_F8);
    QFile printed(print.dotMatrixCopy);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_EQ(printed.readAll().count("Sayfa :"), 2);

    // A range without members: nothing to print, no setup.
    last->setTextValue(u"0001"_s);
    QTest::keyClick(last, Qt::Key_F8);
    EXPECT_EQ(messages.lastText(), u"Liste Getirilmemiş.."_s);
    EXPECT_EQ(grid->ListCount(), 0);
    QTest::keyClick(last, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MemberLists, AttendanceFromTheCommandLine) {
    const QString folder = company.folder();
    QTemporaryDir dir;
    const QString file = dir.filePath(u"hazirun.txt"_s);
    ProcessResult r = runProgram("koop-cli", {"attendance", folder, "--to", "0346", "--grouped",
                                              "--order", "name", "--out", file});
    ASSERT_EQ(r.exitCode, 0) << r.messages.join(';').toStdString();
    EXPECT_EQ(r.out, u"3 üye, 2 sayfa\n"_s); // by name 0346 comes second and ends a page
    const struct {
        QStringList args;
        int exit;
        QString message;
    } bad[] = {
        {{"attendance", folder, "--from", "0350", "--out", file}, 1, u"Liste Getirilmemiş.."_s},
        {{"attendance", folder, "--order", "kod", "--out", file}, 2, u"--order"_s},
        {{"attendance", folder}, 2, {}},
        {{"attendance", folder, "--mode", "1", "--out", u"/no/such/folder/h.pdf"_s},
         1,
         u"PDF dosyası yazılamıyor: /no/such/folder/h.pdf"_s},
    };
    for (const auto &c : bad) {
        r = runProgram("koop-cli", c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
}

QStringList labelled(Session &session, const labels::Selection &selection) {
    QStringList out;
    const auto cards = labels::load(session, selection);
    if (!cards)
        return {u"-"_s};
    for (const data::MemberCard &c : *cards)
        out << c.kod;
    return out;
}

TEST_F(MemberLists, LabelsTakeTheRangesAndTheTickedKinds) {
    set(u"0344"_s, u"grp"_s, u"Şube"_s);
    set(u"0345"_s, u"grp"_s, u"B"_s);
    set(u"0345"_s, u"tip"_s, u"ÜYE"_s);
    set(u"0346"_s, u"grp"_s, QVariant(QMetaType::fromType<QString>())); // unset
    set(u"0347"_s, u"ozel"_s, u"Z'%"_s);
    const labels::Selection all{{u"0344"_s, u"0349"_s}};
    const auto with = [&](auto change) {
        labels::Selection s = all;
        change(s);
        return s;
    };
    const struct {
        const char *name;
        labels::Selection selection;
        QStringList codes;
    } cases[] = {
        {"members", all, {"0344", "0345", "0346", "0347", "0349"}},
        {"sellers", with([](auto &s) { s.members = false, s.sellers = true; }), {"0348"}},
        {"A, S and D",
         with([](auto &s) { s.sellers = s.others = true; }),
         {"0344", "0345", "0346", "0347", "0348", "0349"}},
        {"no box", with([](auto &s) { s.members = false; }), {"-"}},
        {"group B-Ş",
         with([](auto &s) {
             s.groups = {u"b"_s, u"Ş"_s};
         }),
         {"0345"}},
        {"group from Ş", with([](auto &s) { s.groups.first = u"Ş"_s; }), {"0344"}},
        {"type",
         with([](auto &s) {
             s.types = {u"U"_s, u"Ü"_s};
         }),
         {}},
        {"type Ü",
         with([](auto &s) {
             s.types = {u"Ü"_s, u"V"_s};
         }),
         {"0345"}},
        {"special quoted",
         with([](auto &s) {
             s.specials = {u"Z'%"_s, u"Z'%"_s};
         }),
         {"0347"}},
        {"long",
         with([](auto &s) { s.specials.last = QString(10000, u'a'); }),
         {"0344", "0345", "0346", "0349"}},
        {"invalid", with([](auto &s) { s.types.first = u"\xD800"_s; }), {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(labelled(session, c.selection), c.codes) << c.name;
    EXPECT_EQ(messages.lastText(), u"A/S/D Seceneklerinden biri veya fazlası işaretlenmelidir.."_s);

    labels::Selection reversed{{u"0500"_s, u"0100"_s}};
    EXPECT_TRUE(labels::orderCodes(reversed));
    EXPECT_EQ(reversed.codes.first + u'-' + reversed.codes.last, u"0100-0500"_s);
    EXPECT_FALSE(labels::orderCodes(reversed));

    // A card without a code is left out of the starting range, and so gets
    // no label; the attendance list still starts at the lowest code.
    addCard(QString());
    const labels::Opening o = labels::open(session);
    EXPECT_EQ(o.firstCode + u'-' + o.lastCode, u"0344-0349"_s);
    EXPECT_EQ(attendance::open(session).firstCode, QString());
}

TEST_F(MemberLists, LabelsPrintTwoAcrossAfterTheRuler) {
    QTemporaryDir dir;
    printing::PrintContext context(session);
    context.dotMatrixCopy = dir.filePath(u"job.txt"_s);
    const auto printed = [&] {
        QFile out(context.dotMatrixCopy);
        return out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray();
    };
    prnx p(context);
    ASSERT_TRUE(labels::printTest(p));
    const QByteArray ruler = printed();
    // Three members: a full block and one with its left label only; the
    // 37-character name is cut to 35.
    const auto cards = labels::load(session, {{u"0345"_s, u"0347"_s}});
    EXPECT_EQ(labels::printLabels(p, *cards), 3);
    EXPECT_GOLDEN(ruler + printed(), u"labels.txt"_s);
    EXPECT_EQ(labels::block((*cards)[1], nullptr)[2].mid(6).trimmed(),
              u"Çiğdem Şükriye Gülbahar Karaosmanoğ"_s);
}

TEST_F(MemberLists, LabelScreenFromTheKeyboard) {
    QTemporaryDir dir;
    printing::PrintContext print(session);
    ScreenContext desk(session);
    print.dotMatrixCopy = dir.filePath(u"etiket.txt"_s);
    etiket w(desk, print);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *first = part<xtext>(w, "kodBas");
    auto *last = part<xtext>(w, "kodSon");
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(first->Text() + u'-' + last->Text(), u"0344-0349"_s);
    EXPECT_EQ(part<xtext>(w, "grupSon")->Text() + part<xtext>(w, "ozelSon")->Text(), u"zzzzzzzz"_s);
    EXPECT_TRUE(part<QCheckBox>(w, "a")->isChecked());

    // Reversed codes are swapped; no ruler page; the sellers ticked on the way.
    first->setTextValue(u"0349"_s);
    last->setTextValue(u"0348"_s);
    for (int i = 0; i < 10; ++i) // the eight fields, A, then S ticked
        QTest::keyClick(QApplication::focusWidget(), i == 9 ? Qt::Key_Space : Qt::Key_Return);
    EXPECT_TRUE(part<QCheckBox>(w, "s")->isChecked());
    messages.answers = {false};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
    EXPECT_EQ(messages.boxes.front().text, u"Etiket Testi Yapılsın mı ?"_s);
    EXPECT_EQ(first->Text() + u'-' + last->Text(), u"0348-0349"_s);
    EXPECT_EQ(messages.boxes.back().icon, Messages::Icon::Information);
    EXPECT_EQ(messages.lastText(), u"Etiketler Bitmiştir.."_s);
    QFile printed(print.dotMatrixCopy);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QByteArray bytes = printed.readAll();
    EXPECT_TRUE(bytes.contains("Zeynep") && bytes.contains("Ismail") && !bytes.contains("12345"));

    // Nothing ticked: the warning, after the ruler page asked for.
    for (const char *box : {"a", "s"})
        part<QCheckBox>(w, box)->setChecked(false);
    messages.answers = {true};
    part<QPushButton>(w, "gonder")->click();
    EXPECT_EQ(messages.lastText(), u"A/S/D Seceneklerinden biri veya fazlası işaretlenmelidir.."_s);
    printed.close();
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().contains("12345"));
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MemberLists, LabelsFromTheCommandLine) {
    const QString folder = company.folder();
    QTemporaryDir dir;
    const QString file = dir.filePath(u"etiket.txt"_s);
    ProcessResult r = runProgram(
        "koop-cli", {"labels", folder, "--codes", "0349-0346", "--status", "A,S", "--out", file});
    ASSERT_EQ(r.exitCode, 0) << r.messages.join(';').toStdString();
    EXPECT_EQ(r.out, u"4\n"_s);
    r = runProgram("koop-cli", {"labels", folder, "--test", "--out", file});
    EXPECT_EQ(r.exitCode, 0);
    QFile ruler(file);
    ASSERT_TRUE(ruler.open(QIODevice::ReadOnly));
    EXPECT_EQ(ruler.readAll().count("     1234567890"), 16); // two rulers a line
    const struct {
        QStringList args;
        int exit;
        QString message;
    } bad[] = {
        {{"labels", folder, "--status", "A,X", "--out", file}, 2, u"--status"_s},
        {{"labels", folder, "--codes", "0344", "--out", file}, 2, u"--codes"_s},
        {{"labels", folder, "--status", ""}, 2, {}},
        {{"labels", folder}, 2, {}},
    };
    for (const auto &c : bad) {
        r = runProgram("koop-cli", c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
}

} // namespace
