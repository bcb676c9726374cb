#include "cli/member.h"

#include "actions/members/memberaction.h"
#include "core/companyfolder.h"
#include "data/cardtable.h"

namespace {

const char16_t *describe(const QString &field) {
    static const std::pair<const char *, const char16_t *> texts[] = {
        {"kod", u"kartın yeni kodu (edit; hareketi olmayan kartta)"},
        {"isim1", u"adı soyadı"},
        {"isim2", u"ikinci isim satırı"},
        {"adr1", u"adres 1"},
        {"adr2", u"adres 2"},
        {"adr3", u"adres 3"},
        {"grp", u"grup kodu"},
        {"tip", u"tip kodu"},
        {"ozel", u"özel kod"},
        {"asd", u"hesap türü: 0 üye, 1 satıcı, 2 diğer"},
        {"muhasebe", u"muhasebe kodu"}};
    for (const auto &[name, text] : texts)
        if (field == QLatin1String(name))
            return text;
    return u"";
}

bool anyText(const QString &) {
    return true;
}

} // namespace

std::vector<cli::Option> memberOptions() {
    std::vector<cli::Option> options;
    for (const QString &field : data::cardFields()) {
        const int size = data::cardFieldSize(field);
        QString text = QString::fromUtf16(describe(field));
        if (size > 0)
            text += QStringLiteral(", en çok %1 karakter").arg(size);
        options.push_back(
            {QCommandLineOption(
                 field, text, field == u"asd" ? QStringLiteral("0|1|2") : QStringLiteral("METİN")),
             anyText, field + QStringLiteral(" bir değer ister.")});
    }
    options.push_back({QCommandLineOption(QStringLiteral("format"),
                                          QStringLiteral("çıktı biçimi: text ya da json"),
                                          QStringLiteral("BİÇİM"), QStringLiteral("text")),
                       [](const QString &v) { return v == u"text" || v == u"json"; },
                       QStringLiteral("--format text ya da json ister.")});
    return options;
}

int runMember(const cli::Call &call) {
    const QString what = call.arguments[1], kod = call.arguments[2];
    if (what != u"add" && what != u"edit" && what != u"show" && what != u"delete")
        return call.wrongCommandLine();
    QStringList given;
    for (const QString &field : data::cardFields())
        if (call.isSet(field))
            given << field;
    if ((what == u"show" || what == u"delete") && !given.isEmpty()) {
        call.messages.warning(QStringLiteral("member ") + what +
                              QStringLiteral(" kart alanı almaz: --") + given.first());
        return cli::ExitWrongCommandLine;
    }
    if (what == u"add" && given.contains(QStringLiteral("kod")) &&
        call.value(QStringLiteral("kod")) != kod) {
        call.messages.warning(
            QStringLiteral("member add: yeni kartın kodu KOD'dur; --kod yalnız edit ile."));
        return cli::ExitWrongCommandLine;
    }
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const auto output = [&](const members::Card &card) {
        cli::printOut(call.value(QStringLiteral("format")) == u"json" ? members::asJson(card)
                                                                      : members::asText(card));
    };
    const auto missing = [&] {
        call.messages.warning(QStringLiteral("Bu kodla bir üye kartı yok: ") + kod);
        return cli::ExitFailed;
    };
    if (what == u"delete")
        return members::remove(session, kod) ? cli::ExitOk : cli::ExitFailed;
    std::optional<members::Card> loaded;
    if (what != u"add") {
        loaded = members::read(session, kod);
        if (!loaded)
            return missing();
        if (what == u"show") {
            output(*loaded);
            return cli::ExitOk;
        }
    }
    members::Card edited = loaded.value_or(members::Card{});
    if (!loaded) {
        edited.set(QStringLiteral("kod"), kod);
        edited.set(QStringLiteral("asd"), QStringLiteral("0"));
    }
    for (const QString &field : given)
        edited.set(field, call.value(field));
    const bool stored =
        loaded ? members::change(session, *loaded, edited) : members::add(session, edited);
    if (!stored)
        return cli::ExitFailed;
    if (const auto card = members::read(session, edited.kod()))
        output(*card);
    return cli::ExitOk;
}
