#include "screens/screentable.h"

#include "screens/attendance/hazirun.h"
#include "screens/bulkdebt/topbrc.h"
#include "screens/generallist/gbor.h"
#include "screens/headcollection/ytahsil.h"
#include "screens/integration/borcent.h"
#include "screens/labels/etiket.h"
#include "screens/monthlydebt/koopborc.h"
#include "screens/settings/koopayar.h"
#include "screens/statement/tah2.h"

namespace screens {

namespace {

template <class W> std::function<QWidget *(ScreenContext &, printing::PrintContext &)> maker() {
    return [](ScreenContext &s, printing::PrintContext &p) -> QWidget * { return new W(s, p); };
}

} // namespace

const std::vector<Screen> &table() {
    static const std::vector<Screen> screens{
        {{QStringLiteral("AYAR")}, maker<koopayar>()},
        {{QStringLiteral("BORCLA")}, maker<koopborc>()},
        {{QStringLiteral("TOPBORC")}, maker<topbrc>()},
        {{QStringLiteral("TAHSIL")}, maker<tah2>()},
        {{QStringLiteral("GENEL")}, maker<gbor>()},
        {{QStringLiteral("HAZIRUN")}, maker<hazirun>()},
        {{QStringLiteral("ETIKET"), QStringLiteral("ETİKET")}, maker<etiket>()},
        {{QStringLiteral("BORCENT")}, maker<Borcent>()},
        {{QStringLiteral("KASTAH")}, maker<ytahsil>()},
    };
    return screens;
}

const Screen *find(const QString &key) {
    for (const Screen &s : table())
        if (s.keys.contains(key))
            return &s;
    return nullptr;
}

void showUnknownKey(Messages &messages) {
    messages.show(Messages::Icon::Question, Messages::korvane(),
                  QStringLiteral("Hatalı Giriş Anahtarı"));
    QStringList keys;
    for (const Screen &s : table())
        keys << s.keys.first().toLower();
    messages.show(Messages::Icon::None, Messages::korvane(), keys.join(u'\n'));
}

} // namespace screens
