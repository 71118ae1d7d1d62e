#include "frm_barcodeAdd.h"

Tfrm_barcodeAdd::Tfrm_barcodeAdd(QWidget* owner) : Tbase_frm(owner) {
    setWindowTitle(QStringLiteral("条形码生成向导"));
}

void Tfrm_barcodeAdd::FormCreate() {
    Tbase_frm::FormCreate();
}

void Tfrm_barcodeAdd::FormShow() {
    Tbase_frm::FormShow();
}

void Tfrm_barcodeAdd::But_ColorClick() {}
void Tfrm_barcodeAdd::But_SizeClick() {}
void Tfrm_barcodeAdd::But_Code1Click() {}
void Tfrm_barcodeAdd::But_Code2Click() {}
void Tfrm_barcodeAdd::But_OKClick() {}
void Tfrm_barcodeAdd::But_CancelClick() {}
