-- Suppliers and their price quotes.

-- One row per supplier. fid (from V_GetPassWord12) addresses the row, fcode is
-- the code the documents carry (fsuppliercode); a changed code reaches them
-- through P_replaceSupplier. fsortcode is a ba_Ptype code, yfk_code2 the
-- client (dt_client.fcode) that is this supplier as a customer. Category marks
-- a supplier of finished goods: the goods form offers those as 供应商.
create table dt_supplier (
    fid varchar(12) not null primary key,
    fcode varchar(30) not null unique,
    fname varchar(100) null,
    fabbrev varchar(50) null,
    fsortcode varchar(50) null,
    fareacode varchar(30) null,
    keyman varchar(30) null,
    contactman varchar(30) null,
    tel1 varchar(30) null,
    tel2 varchar(30) null,
    fax varchar(30) null,
    zipcode varchar(10) null,
    http varchar(100) null,
    email varchar(50) null,
    addres varchar(200) null,
    remark varchar(500) null,
    taxcode varchar(30) null,
    invoice_name varchar(100) null,
    invoice_addres varchar(200) null,
    taxrate decimal(18,2) null default 0,
    begindate datetime null,
    first_amount money null default 0,
    stratbit bit null default 1,
    Category bit null default 1,
    bank_name varchar(100) null,
    bank_no varchar(50) null,
    yfk_code1 varchar(30) null,
    yfk_code2 varchar(30) null,
    fcreatedate datetime null,
    fregmoney money null,
    fempqty int null,
    fgoodsstyle varchar(50) null,
    fgoodsqty varchar(50) null,
    fyearmoney money null,
    fgoodsitem varchar(500) null
)

-- A supplier's dated quote for a goods item: material plus making price. One
-- quote per supplier, goods item and quote date; the quotes of all suppliers
-- average into the reference cost of goods that have none (planprice).
create table Dt_SupplierPrice (
    fSupplierCode varchar(30) not null,
    fGoodsid varchar(30) not null,
    fDate datetime not null,
    fMasterialPrice decimal(18,2) null default 0,
    fManualPrice decimal(18,2) null default 0,
    fPosted bit null default 1,
    fInputDate datetime null,
    fInputUser varchar(30) null,
    fPostedDate datetime null,
    fPostedUser varchar(30) null,
    fRemark varchar(100) null,
    primary key (fSupplierCode, fGoodsid, fDate)
)

create index ix_Dt_SupplierPrice_goods on Dt_SupplierPrice (fGoodsid)
