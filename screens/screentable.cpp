#include "screens/screentable.h"

#include "screens/attendance/hazirun.h"
#include "screens/bulkdebt/topbrc.h"
#include "screens/company/sirket.h"
#include "screens/generallist/gbor.h"
#include "screens/headcollection/ytahsil.h"
#include "screens/integration/borcent.h"
#include "screens/labels/etiket.h"
#include "screens/members/uye.h"
#include "screens/monthlydebt/koopborc.h"
#include "screens/reports/ihtar.h"
#include "screens/reports/pano.h"
#include "screens/reports/topeks.h"
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
        {{QStringLiteral("AYAR")}, QStringLiteral("Yönetim Ayarları"), true, maker<koopayar>()},
        {{QStringLiteral("BORCLA")}, QStringLiteral("Aylık Borçlandırma"), true, maker<koopborc>()},
        {{QStringLiteral("TOPBORC")}, QStringLiteral("Toplu Borçlandırma"), true, maker<topbrc>()},
        {{QStringLiteral("TAHSIL")},
         QStringLiteral("Hesap Ekstresi ve Tahsilat"),
         true,
         maker<tah2>()},
        {{QStringLiteral("GENEL")},
         QStringLiteral("Genel Borç/Alacak Listesi"),
         true,
         maker<gbor>()},
        {{QStringLiteral("HAZIRUN")}, QStringLiteral("Hazirun Cetveli"), true, maker<hazirun>()},
        {{QStringLiteral("ETIKET"), QStringLiteral("ETİKET")},
         QStringLiteral("Adres Etiketleri"),
         true,
         maker<etiket>()},
        {{QStringLiteral("BORCENT")},
         QStringLiteral("Muhasebe Entegrasyonu"),
         true,
         maker<Borcent>()},
        {{QStringLiteral("KASTAH")},
         QStringLiteral("Alt Hesaplara Göre Tahsilat"),
         true,
         maker<ytahsil>()},
        {{QStringLiteral("UYE")}, QStringLiteral("Üye Kartları"), false, maker<uye>()},
        {{QStringLiteral("SIRKET")}, QStringLiteral("Şirket Bilgileri"), false, maker<sirket>()},
        {{QStringLiteral("PANO")}, QStringLiteral("Genel Durum"), false, maker<pano>()},
        {{QStringLiteral("EKSTRE")}, QStringLiteral("Toplu Ekstre"), false, maker<topeks>()},
        {{QStringLiteral("IHTAR"), QStringLiteral("İHTAR")},
         QStringLiteral("İhtar Listesi"),
         false,
         maker<ihtar>()},
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
        if (s.suite)
            keys << s.keys.first().toLower();
    messages.show(Messages::Icon::None, Messages::korvane(), keys.join(u'\n'));
}

} // namespace screens
