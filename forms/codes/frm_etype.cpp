#include "frm_etype.h"

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"

namespace {

const TCodeTable kEmployeeCategories{"员工类别",
                                     "select * from ba_Etype",
                                     {{"fName", "员工类别", 160}, {"fNotes", "备注", 280}},
                                     {{"fname", "类别名称不能为空!"}},
                                     {560, 420}};

}  // namespace

Tfrm_Etype::Tfrm_Etype(QWidget* owner) : Tbase_frmDictMdi(owner) {
    Describe(kEmployeeCategories);
}

void Tfrm_Etype::DBmaster_tableBeforePost() {
    Tbase_frmDictMdi::DBmaster_tableBeforePost();
    // Renaming changes the key; the saved row is still found by its old one.
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("fid"))
        .SetAsString(ds.FieldByName(QStringLiteral("fName")).AsString());
}

MD_REGISTER_FORM(Tfrm_Etype);
