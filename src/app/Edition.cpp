#include "app/Edition.h"

namespace {

struct Token {
    const char* token;
    Edition edition;
};

} // namespace

Edition editionFor(const QString& fileName) {
    static const Token tokens[] = {
        {"Sorvak", {"Sorvak", "Sorvak", {"ORUF1", "ORUF2", "Sipkaf1"}}},
        {"Vu", {"ORU", {}, {"ORUF1", "ORUF2"}}},
        {"GSM Menta", {"GSM Menta", "Pelta GSM Menta Manager", {"ORUL1", "ORUL2", "Sipkaf1"}}},
        {"GSMTandor",
         {"GSM-Tandora",
          "GSM-Tandora Set",
          {"PictureT1", "PictureT2", "SipkaGA1", "SipkaGB2", "SipkaGA2"},
          true}},
        {"4G-Kelvane", {"4G-Kelvane", "4G-Kelvane", {"PictureK1", "PictureK2"}, false, true}},
    };
    for (const Token& t : tokens)
        if (fileName.contains(QLatin1String(t.token), Qt::CaseSensitive)) return t.edition;
    return {"ORU", {}, {"ORU1", "ORU2", "Sipka1"}};
}
