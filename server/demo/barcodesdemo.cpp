// Demo barcode mappings: the codes some colours and sizes take inside
// barcodes, as a company sets them in the wizard's two mapping dialogs. The
// other colours and sizes get rows mapping them to themselves when a dialog
// first opens.
#include "demodata.h"

namespace md::server {

namespace {

const char* const kColourCodes[][2] = {
    {"01", "BK"}, {"02", "WH"}, {"03", "IV"}, {"04", "BG"}, {"08", "DG"},
    {"09", "LG"}, {"11", "NV"}, {"15", "RD"}, {"20", "YL"}, {"25", "PU"},
};

const char* const kSizeCodes[][2] = {
    {"XS", "0"}, {"S", "1"}, {"M", "2"}, {"L", "3"}, {"XL", "X"}, {"XXL", "XX"},
};

void generateBarcodeMappings(DemoContext& demo) {
    for (const auto& colour : kColourCodes)
        demo.insert(QStringLiteral("barcode_color"),
                    {QStringLiteral("fcolorid"), QStringLiteral("fbarcolorid")},
                    {QString::fromLatin1(colour[0]), QString::fromLatin1(colour[1])});
    for (const auto& size : kSizeCodes)
        demo.insert(QStringLiteral("barcode_size"),
                    {QStringLiteral("fsize"), QStringLiteral("fbarcodesize")},
                    {QString::fromLatin1(size[0]), QString::fromLatin1(size[1])});
}

}  // namespace

// After the goods: their barcodes were composed from the colour codes and
// size names themselves.
const RegisterDemoGenerator registerBarcodeMappings(65, "barcode mappings",
                                                    &generateBarcodeMappings);

}  // namespace md::server
