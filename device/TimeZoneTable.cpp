#include "device/TimeZoneTable.h"

#include "base/CTime.h"

#include <ctime>

namespace TimeZoneTable {
namespace {

// The Juba row holds a left-to-right mark between the city and the parenthesis.
const char *const RowNames[RowCount] = {
    "Abu Dhabi(UAE) UTC+04:00",
    "Abuja(Nigeria) UTC+01:00",
    "Accra(Ghana) UTC(GMT)",
    "addis ababa(Ethiopia) UTC+03:00",
    "Algiers(Algeria) UTC+01:00",
    "al-Kuwayt(Kuwait) UTC+03:00",
    "Amman(Jordan) UTC+03:00",
    "Amsterdam(Netherlands) UTC+01:00",
    "Andorra-la-Vella(Andorra) UTC+01:00",
    "Ankara(Turkey) UTC+02:00",
    "Antananarivo(Madagascar) UTC+03:00",
    "Ashgabat(Turkmenistan) UTC+05:00",
    "Asmara(Eritrea) UTC+03:00",
    "Astana(Kazakhstan) UTC+06:00",
    "Asunción(Paraguay) UTC-04:00",
    "Athens(Greece) UTC+02:00",
    "Baghdad(Iraq) UTC+03:00",
    "Baku(Azerbaijan) UTC+04:00",
    "Bamako(Mali) UTC(GMT)",
    "Bandar Seri Begawan(Brunei) UTC+08:00",
    "Bangkok(Thailand) UTC+07:00",
    "Bangui(CAR) UTC+01:00",
    "Banjul(Gambia) UTC(GMT)",
    "Beijing(China) UTC+08:00",
    "Beirut(Lebanon) UTC+02:00",
    "Belmopan(Belize) UTC-06:00",
    "Beograd(Serbia) UTC+01:00",
    "Bern(Switzerland) UTC+01:00",
    "Bishkek(Kyrgyzstan) UTC+06:00",
    "Bogota(Colombia) UTC-05:00",
    "Brasilia(Brazil) UTC-03:00",
    "Bratislava(Slovakia) UTC+01:00",
    "Brazzaville(Congo republic) UTC+01:00",
    "Brussels(Belgium) UTC+01:00",
    "Bucharest(Romania) UTC+02:00",
    "Budapest(Hungary) UTC+01:00",
    "Buenos Aires(Argentina) UTC-03:00",
    "Cairo(Egypt) UTC+02:00",
    "Canberra(Australia) UTC+10:00",
    "Caracas(Venezuela) UTC-04:30",
    "Colombo(Sri Lanka) UTC+05:30",
    "Conakry(Guinea) UTC(GMT)",
    "Copenhagen(Denmark) UTC+01:00",
    "Dakar(Senegal) UTC(GMT)",
    "Damascus(Syria) UTC+02:00",
    "Dhaka(Bangladesh) UTC+06:00",
    "Dodoma(Tanzania) UTC+03:00",
    "Doha(Qatar) UTC+03:00",
    "Dublin(Ireland) UTC(WET)",
    "Dushanbe(Tajikistan) UTC+05:00",
    "Freetown(Sierra Leone) UTC(GMT)",
    "Gaborone(Botswana) UTC+02:00",
    "Guatemala City(Guatemala) UTC-06:00",
    "Hanoi(Vietnam) UTC+07:00",
    "Harare(Zimbabwe) UTC+02:00",
    "Helsinki(Finland) UTC+02:00",
    "Hong Kong(Hong Kong - China) UTC+08:00",
    "Irkutsk(Russia) UTC+08:00",
    "Islamabad(Pakistan) UTC+05:00",
    "Jakarta(Indonesia) UTC+07:00",
    "Jerusalem(Israel) UTC+02:00",
    "Juba\u200E(South Sudan) UTC+03:00",
    "Kabul(Afghanistan) UTC+04:30",
    "Kaliningrad(Russia) UTC+02:00",
    "Kampala(Uganda) UTC+03:00",
    "Kathmandu(Nepal) UTC+05:45",
    "Khartoum(Sudan) UTC+03:00",
    "Kiev(Ukraine) UTC+02:00",
    "Kigali(Rwanda) UTC+02:00",
    "Kingston(Jamaica) UTC-05:00",
    "Kishinev(Moldova) UTC+02:00",
    "Kuala Lumpur(Malaysia) UTC+08:00",
    "La Habana(Cuba) UTC-05:00",
    "La Paz(Bolivia) UTC-04:00",
    "Libreville(Gabon) UTC+01:00",
    "Lilongwe(Malawi) UTC+02:00",
    "Lima(Peru) UTC-05:00",
    "Lisbon(Portugal) UTC(GMT)",
    "Ljubljana(Slovenia) UTC+01:00",
    "Lome(Togo) UTC(GMT)",
    "London(United Kingdom) UTC(GMT)",
    "Luanda(Angola) UTC+01:00",
    "Lusaka(Zambia) UTC+02:00",
    "Luxembourg(Luxembourg) UTC+01:00",
    "Macau(Macau - China) UTC+08:00",
    "Madrid(Spain) UTC+01:00",
    "Magadan(Russia) UTC+11:00",
    "Malabo(Equatorial Guinea) UTC+01:00",
    "Male(Maldives) UTC+05:00",
    "Managua(Nicaragua) UTC-06:00",
    "manama(Bahrain) UTC+03:00",
    "Manila(Philippines) UTC+08:00",
    "Maputo(Mozambique) UTC+02:00",
    "Mbabane(Swaziland) UTC+02:00",
    "Mexico City(Mexico) UTC-06:00",
    "Minsk(Belarus) UTC+02:00",
    "Mogadishu(Somalia) UTC+03:00",
    "Monaco(Monaco) UTC+01:00",
    "Monrovia(Liberia) UTC(GMT)",
    "Montevideo(Uruguay) UTC-03:00",
    "Moroni(Comoros) UTC+03:00",
    "Moscow(Russia) UTC+03:00",
    "München(Germany) UTC+01:00",
    "Muscat(Oman) UTC+04:00",
    "Nairobi(Kenya) UTC+03:00",
    "N'Djamena(Chad) UTC+01:00",
    "New Delhi(India) UTC+05:30",
    "Niamey(Niger) UTC+01:00",
    "Nicosia(Cyprus) UTC+02:00",
    "Nouakchott(Mauritania) UTC(GMT)",
    "Novosibirsk(Russia) UTC+07:00",
    "Omsk(Russia) UTC+06:00",
    "Oslo(Norway) UTC+01:00",
    "Ottawa(Canada) UTC-05:00",
    "Panama City(Panama) UTC-05:00",
    "Paris(France) UTC+01:00",
    "Petropavlovsk-Kamchatsky(Russia) UTC+12:00",
    "Phnum Penh(Cambodia) UTC+07:00",
    "Podgorica(Montenegro) UTC+01:00",
    "Port Louis(Mauritius) UTC+04:00",
    "Port Moresby(Papua New Guinea) UTC+10:00",
    "Port-au-Prince(Haiti) UTC-05:00",
    "Praha(Czech Republic) UTC+01:00",
    "Praia(Cape Verde) UTC-01:00",
    "Pretoria(South Africa) UTC+02:00",
    "Quito(Ecuador) UTC+01:00",
    "Rabat(Morocco) UTC(WET)",
    "Reykjavik(Iceland) UTC(GMT)",
    "Riga(Latvia) UTC+02:00",
    "Riyadh(Saudi Arabia) UTC+03:00",
    "Rome(Italy) UTC+01:00",
    "Saint George's(Grenada) UTC-04:00",
    "Samara(Russia) UTC+04:00",
    "San José(Costa Rica) UTC-06:00",
    "San Marino(San Marino) UTC+01:00",
    "San Salvador(El Salvador) UTC-06:00",
    "Sanaa(Yemen) UTC+03:00",
    "Santiago(Chile) UTC-04:00",
    "Santo Domingo(Dominican Republic) UTC-04:00",
    "São Tomé(São Tomé and Príncipe) UTC(GMT)",
    "Sarajevo(Bosnia) UTC+01:00",
    "Seoul(Korea, South) UTC+09:00",
    "Singapore city(Singapore) UTC+08:00",
    "Skopje(Macedonia) UTC+01:00",
    "Sofia(Bulgaria) UTC+02:00",
    "Stockholm(Sweden) UTC+01:00",
    "Suva(Fiji) UTC+12:00",
    "Taipei(Taiwan) UTC+08:00",
    "tallinn(Estonia) UTC+02:00",
    "Tashkent(Uzbekistan) UTC+05:00",
    "Tbilisi(Georgia) UTC+04:00",
    "Tegucigalpa(Honduras) UTC-06:00",
    "Teheran(Iran) UTC+03:30",
    "Thimphu(Bhutan) UTC+06:00",
    "Tirana(Albania) UTC+01:00",
    "Tokyo(Japan) UTC+09:00",
    "Tripoli(Libya) UTC+01:00",
    "Tunis(Tunisia) UTC+01:00",
    "Ulaanbaatar(Mongolia) UTC+08:00",
    "Vaduz(Liechtenstein) UTC+01:00",
    "Valleta(Malta) UTC+01:00",
    "Vatican City(Vatican City) UTC+01:00",
    "Victoria(Seychelles) UTC+04:00",
    "Vienna(Austria) UTC+01:00",
    "Vientiane(Laos) UTC+07:00",
    "Vil'nyus(Lithuania) UTC+02:00",
    "Vladivostok(Russia) UTC+10:00",
    "Warsaw(Poland) UTC+01:00",
    "Washington, D.C.(United States) UTC-05:00",
    "Wellington(New Zealand) UTC+12:00",
    "Windhoek(Namibia) UTC+01:00",
    "Yakutsk(Russia) UTC(+09:00)",
    "Yamoussoukro(Côte d'Ivoire) UTC(GMT)",
    "Yangon(Myanmar) UTC+06:30",
    "Yaren(Nauru) UTC+12:00",
    "Yaunde(Cameroon) UTC+01:00",
    "Yekaterinburg(Russia) UTC+05:00",
    "Yerevan(Armenia) UTC+04:00",
    "Zagreb(Croatia) UTC+01:00",
};

int32_t twoDigits(QStringView text, qsizetype at)
{
    if (at + 2 > text.size() || !text[at].isDigit() || !text[at + 1].isDigit())
        return -1;
    return int32_t(text[at].digitValue() * 10 + text[at + 1].digitValue());
}

} // namespace

const QStringList &timeZoneNames()
{
    static const QStringList names = [] {
        QStringList list;
        list.reserve(RowCount);
        for (const char *name : RowNames)
            list.append(QString::fromUtf8(name));
        return list;
    }();
    return names;
}

const QList<int32_t> &timeZoneOffsets()
{
    static const QList<int32_t> offsets = [] {
        QList<int32_t> list;
        list.reserve(RowCount);
        for (const QString &name : timeZoneNames())
            list.append(offsetFromName(name));
        return list;
    }();
    return offsets;
}

int32_t offsetOfRow(int row)
{
    if (row < 0 || row >= RowCount)
        return 0;
    return timeZoneOffsets().at(row);
}

int32_t offsetFromName(QStringView name)
{
    const qsizetype utc = name.lastIndexOf(u"UTC");
    if (utc < 0)
        return 0;
    QStringView rest = name.mid(utc + 3);
    if (rest.startsWith(u'('))
        rest = rest.mid(1);
    if (rest.isEmpty() || (rest[0] != u'+' && rest[0] != u'-'))
        return 0;
    const int32_t sign = rest[0] == u'-' ? -1 : 1;
    const int32_t hours = twoDigits(rest, 1);
    const int32_t minutes = twoDigits(rest, 4);
    if (hours < 0 || minutes < 0 || rest.size() < 4 || rest[3] != u':')
        return 0;
    return sign * (hours * 60 + minutes);
}

int32_t localZoneOffset()
{
    tzset();
    // timezone holds the standard-time offset in seconds west of UTC.
    return int32_t(-::timezone / 60);
}

int preselectedRow(int32_t localOffset)
{
    int choice = 0;
    const QList<int32_t> &offsets = timeZoneOffsets();
    for (int row = 0; row < RowCount; ++row) {
        if (offsets[row] == localOffset && choice == 0)
            choice = row;
    }
    return choice;
}

int deviceClockRow()
{
    const int row = int(timeZoneOffsets().indexOf(DeviceClockOffsetMinutes));
    return row < 0 ? 0 : row;
}

} // namespace TimeZoneTable
