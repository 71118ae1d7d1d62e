-- The schema of the first build (version 1: no md_schemaversion), as it was;
-- the upgrade tests make their old databases from it.

-- Rights, scopes, settings, the operation log, the company record and sizes.
-- Written in T-SQL once; the data layer translates it for the backend in use.

create table dr_right (
    autoid int not null primary key,
    listname varchar(100) not null,
    fcaption varchar(100) null
)

create table dr_rightdetail (
    fautoid int identity(1,1) not null primary key,
    autoid int not null,
    groupid varchar(30) not null,
    b_add bit not null default 0,
    b_edit bit not null default 0,
    b_del bit not null default 0,
    b_browse bit not null default 0,
    b_posted bit not null default 0,
    b_print bit not null default 0,
    b_excel bit not null default 0,
    b_unposted bit not null default 0
)

create table usermainde (
    fautoid int identity(1,1) not null primary key,
    userno varchar(30) not null,
    fgroupid varchar(30) not null
)

-- fpassword holds a salted hash, never the password itself.
create table usermain (
    userno varchar(30) not null primary key,
    username varchar(50) null,
    fpassword varchar(200) null
)

-- Scope tables compare fgroupid with the user number itself.
create table userclient (
    fautoid int identity(1,1) not null primary key,
    fgroupid varchar(30) not null,
    fclientcode varchar(30) not null,
    fstockbit bit null
)

create table userbrand (
    fautoid int identity(1,1) not null primary key,
    fgroupid varchar(30) not null,
    fbrand varchar(30) not null
)

create table userhouse (
    fautoid int identity(1,1) not null primary key,
    fgroupid varchar(30) not null,
    fhousecode varchar(30) not null,
    fstockbit bit null
)

create table config (
    [id] int not null primary key,
    mode int null,
    fremark varchar(100) null
)

create table syslog (
    fautoid int identity(1,1) not null primary key,
    logindate varchar(10) null,
    begintime varchar(8) null,
    userno varchar(30) null,
    clientname varchar(50) null,
    modename varchar(100) null,
    fbillid varchar(50) null,
    fstate varchar(20) null
)

create table dt_ltd (
    fautoid int identity(1,1) not null primary key,
    fname_ch varchar(100) null,
    fname_en varchar(100) null,
    fabbrev varchar(50) null,
    contact_manch varchar(30) null,
    contact_manen varchar(30) null,
    Job varchar(30) null,
    tel1 varchar(30) null,
    tel2 varchar(30) null,
    fax varchar(30) null,
    Email varchar(50) null,
    http varchar(100) null,
    zipcode varchar(10) null,
    Bank_name varchar(100) null,
    Bank_no varchar(50) null,
    fAddresch varchar(200) null,
    fAddresen varchar(200) null,
    fcode varchar(12) null
)

-- Rewritten whole by the size editor; two rows of one group may exist, so no
-- unique key beyond the row's own number.
create table ba_size (
    fautoid int identity(1,1) not null primary key,
    size_class varchar(30) null,
    size_name varchar(30) null,
    displayindex int null,
    fieldname varchar(10) null
)

-- Where the key views draw their sequence from (one row).
create table md_keysource (
    id int not null primary key,
    secret bigint not null,
    nextblock bigint not null
)

-- A fresh twelve-character key on every read.
create view V_GetPassWord12 as
select left(replace(convert(varchar(36), newid()), '-', ''), 12) as fpassword

create view V_GetPassWord as
select left(replace(convert(varchar(36), newid()), '-', ''), 12) as fpassword

-- The date without its time, for comparing days.
create function dbo.getdate1(@d datetime) returns datetime
as
begin
    return convert(datetime, convert(varchar(10), @d, 120))
end

-- Small code tables: colours, regions, departments, material, supplier and
-- employee categories, shop shifts, fund accounts, description values.

-- Goods import inserts colours with only their code, so the rest may be null.
create table ba_color (
    colorid varchar(30) not null primary key,
    colorname_ch varchar(50) null,
    colorname_en varchar(50) null,
    color_values varchar(30) null
)

-- Tree tables: fparentcode '0' marks a root.
create table ba_Area (
    fCode varchar(30) not null primary key,
    fparentcode varchar(30) null,
    fName varchar(50) null,
    fNotes varchar(500) null
)

create table ba_Department (
    fCode varchar(30) not null primary key,
    fparentcode varchar(30) null,
    fName varchar(50) null,
    fDeptManager varchar(30) null,
    fAddress varchar(100) null,
    fTel varchar(30) null,
    fFax varchar(30) null,
    fEmail varchar(50) null,
    fNotes varchar(200) null,
    fStatus bit null default 1
)

create table ba_MrType (
    fCode varchar(30) not null primary key,
    fparentcode varchar(30) null,
    fName varchar(50) null,
    fNotes varchar(500) null
)

-- fID is set equal to fCode before every save.
create table ba_Ptype (
    fID varchar(15) not null primary key,
    fCode varchar(50) null,
    fName varchar(50) null,
    fNotes varchar(50) null,
    fFlag int null
)

-- The name is the key: renaming a category changes fid.
create table ba_Etype (
    fid varchar(50) not null primary key,
    fName varchar(50) null,
    fNotes varchar(100) null
)

create table ba_squad (
    fautoid int identity(1,1) not null primary key,
    fclientcode varchar(30) null,
    fsquname varchar(30) null,
    fbegintime varchar(8) null,
    fendtime varchar(8) null,
    finused bit null default 1
)

create table ba_account (
    fCode varchar(30) not null primary key,
    fName varchar(50) null,
    fAccount_no varchar(50) null,
    fFirsdate date null,
    fFirstvalue money null default 0,
    fAccCode varchar(30) null,
    finputdate date null,
    finputuser varchar(30) null
)

-- Known values of the goods description fields, and the retail expense items
-- (ftablename 'OA_SstockAmount').
create table ba_fieldvalues (
    fautoid int identity(1,1) not null primary key,
    ftablename varchar(50) null,
    ffieldname varchar(50) null,
    fFieldValues varchar(100) null,
    fsysbit bit null default 0
)

-- Captions and filter flags of the configurable columns.
create table ba_fieldremark (
    fautoid int identity(1,1) not null primary key,
    fid int null,
    ftablename varchar(50) null,
    fname varchar(50) null,
    ffieldname_sys varchar(50) null,
    ffieldremark varchar(50) null,
    visiblebit bit null default 1
)

create table repofield (
    fieldname varchar(50) not null primary key,
    fieldremark varchar(50) null
)

-- Goods, their colours, pictures, item prices, sizes and barcodes.

-- goodsid is the business key; GoodsNo (from V_GetPassWord12) addresses the row
-- in the goods form's own statements. Goods made from sample styles have no
-- GoodsNo yet, so it may be null. No column may be named fgoodsid or fsize:
-- conditions appended inside "select goodsid from goods where ..." must bind to
-- the outer table.
create table goods (
    goodsid varchar(30) not null primary key,
    goodssortid varchar(30) null,
    goodsname varchar(50) null,
    ayear varchar(30) null,
    season varchar(30) null,
    brand varchar(30) null,
    unit varchar(30) null,
    sort varchar(30) null,
    style varchar(30) null,
    item varchar(30) null,
    patter varchar(30) null,
    catena varchar(30) null,
    sex varchar(30) null,
    masterial varchar(30) null,
    lining varchar(30) null,
    mat varchar(30) null,
    standard varchar(30) null,
    whence varchar(30) null,
    size_class varchar(30) null,
    topdate datetime null,
    picture varchar(10) null,
    remark varchar(200) null,
    strat bit null default 1,
    inputdate datetime null,
    field1 varchar(30) null,
    field2 varchar(30) null,
    field3 varchar(30) null,
    field4 varchar(30) null,
    unitprice money null default 0,
    price1 money null default 0,
    price2 money null default 0,
    price3 money null default 0,
    price4 money null default 0,
    price5 money null default 0,
    price6 money null default 0,
    isshopgoods bit null default 0,
    typecode varchar(30) null,
    fsortbyint int null,
    fshopstockqty int null,
    fshopprice money null,
    fisshoptop bit null default 0,
    fisshopnew bit null default 0,
    fisshopmaster bit null default 0,
    fisshopscrush bit null default 0,
    fisshopsale bit null default 0,
    fshopclickcount int null,
    fgoodscaption varchar(100) null,
    fgoodsremark varchar(2000) null,
    fgoodsweight decimal(18,3) null,
    fshopscrushprice money null,
    fshopscrushbegindate datetime null,
    fshopscrushenddate datetime null,
    fshopplanpirce money null,
    fshopisend bit null default 0,
    fshopenddate datetime null,
    lastupdate datetime null,
    goodsno varchar(12) null,
    fcheck bit null default 0
)

-- Colours of a goods item. The goods form addresses rows by ColorNo; imports
-- and sample conversion insert rows without it, so the row number is the key.
create table goodscolor (
    fautoid int identity(1,1) not null primary key,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    GoodsNo varchar(12) null,
    ColorNo varchar(30) null
)

-- The goods-specific description of a colour (颜色说明).
create table ba_goodscolor (
    fautoid int identity(1,1) not null primary key,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fcolor varchar(50) null,
    GoodsNo varchar(12) null,
    ColorNo varchar(30) null
)

-- Pictures of goods and of sample styles, one per code.
create table GoodsImage (
    fautoid int identity(1,1) not null primary key,
    fgoodsid varchar(30) null,
    GoodsNo varchar(12) null,
    fimage image null
)

create table goodsitemprice (
    fautoid int identity(1,1) not null primary key,
    fgoodsid varchar(30) null,
    fitem varchar(50) null,
    fprice money null default 0,
    GoodsNo varchar(12) null
)

-- The online shop's goods type tree (kept by the wider system).
create table goodstype (
    fcode varchar(30) not null primary key,
    fname varchar(50) null,
    fparentcode varchar(30) null
)

-- The sizes of each goods item, kept in step with its size group.
create table goodssize (
    fautoid int identity(1,1) not null primary key,
    goodsid varchar(30) null,
    size_name varchar(30) null,
    fieldname varchar(10) null,
    displayindex int null
)

create table barcode (
    fgoodsid varchar(30) not null,
    fcolorid varchar(30) not null,
    fsize varchar(30) not null,
    fbarcode1 varchar(50) null,
    -- EAN-13 when numbered here; the barcode form also takes typed codes.
    fbarcode2 varchar(50) null,
    fprintsize varchar(30) null,
    fprintcolorid varchar(30) null,
    fcheck bit null default 0,
    goodsno varchar(12) null,
    primary key (fgoodsid, fcolorid, fsize)
)

create table barcode_color (
    fcolorid varchar(30) not null primary key,
    fbarcolorid varchar(30) null
)

create table barcode_size (
    fsize varchar(30) not null primary key,
    fbarcodesize varchar(30) null
)

-- One row per size group: slot k holds the k-th size in displayindex order,
-- counted by position, so stored numbers with gaps still fill S1, S2, ...
create view v_size as
select size_class,
    max(case when k=1 then size_name end) as S1,
    max(case when k=2 then size_name end) as S2,
    max(case when k=3 then size_name end) as S3,
    max(case when k=4 then size_name end) as S4,
    max(case when k=5 then size_name end) as S5,
    max(case when k=6 then size_name end) as S6,
    max(case when k=7 then size_name end) as S7,
    max(case when k=8 then size_name end) as S8,
    max(case when k=9 then size_name end) as S9,
    max(case when k=10 then size_name end) as S10,
    max(case when k=11 then size_name end) as S11,
    max(case when k=12 then size_name end) as S12,
    max(case when k=13 then size_name end) as S13,
    max(case when k=14 then size_name end) as S14,
    max(case when k=15 then size_name end) as S15,
    max(case when k=16 then size_name end) as S16,
    max(case when k=17 then size_name end) as S17,
    max(case when k=18 then size_name end) as S18,
    max(case when k=19 then size_name end) as S19,
    max(case when k=20 then size_name end) as S20,
    max(case when k=21 then size_name end) as S21,
    max(case when k=22 then size_name end) as S22,
    max(case when k=23 then size_name end) as S23,
    max(case when k=24 then size_name end) as S24,
    max(case when k=25 then size_name end) as S25,
    max(case when k=26 then size_name end) as S26,
    max(case when k=27 then size_name end) as S27,
    max(case when k=28 then size_name end) as S28,
    max(case when k=29 then size_name end) as S29,
    max(case when k=30 then size_name end) as S30
from (select a.size_class, a.size_name,
        (select count(*) from ba_size b where b.size_class=a.size_class and b.displayindex<a.displayindex)+1 as k
    from ba_size a) s
group by size_class

-- The sizes of one goods item through its size group.
create view vgoodssize as
select a.goodsid, b.size_name, b.fieldname, b.displayindex
from goods a join ba_size b on a.size_class=b.size_class

-- Goods x colours with the goods attributes. Every description column that can
-- be a filter field is here, so an attribute condition resolves against it.
create view vgoodscolor as
select b.goodsid, a.fcolorid as colorid, c.colorname_ch, c.colorname_en,
    b.goodssortid, b.goodsname, b.ayear, b.season, b.brand, b.unit, b.sort, b.style,
    b.item, b.patter, b.catena, b.sex, b.masterial, b.lining, b.mat, b.standard,
    b.whence, b.size_class, b.field1, b.field2, b.field3, b.field4, b.unitprice,
    b.price1, b.price2, b.price3, b.price4, b.price5, b.price6, b.strat, b.inputdate,
    a.GoodsNo, a.ColorNo, b.masterial as color1, convert(bit,0) as delbit
from goodscolor a
join goods b on a.fgoodsid=b.goodsid
left join ba_color c on a.fcolorid=c.colorid

-- As vgoodscolor, with the goods' own colour description in color2.
create view vgoodscolor1 as
select b.goodsid, a.fcolorid as colorid, c.colorname_ch, b.masterial as color1,
    isnull(d.fcolor, c.colorname_ch) as color2
from goodscolor a
join goods b on a.fgoodsid=b.goodsid
left join ba_color c on a.fcolorid=c.colorid
left join ba_goodscolor d on a.fgoodsid=d.fgoodsid and a.fcolorid=d.fcolorid

-- The goods form reads and deletes the rows of one goods code at a time; the
-- list joins pictures by code and the form's statements address goods by GoodsNo.
create index ix_goods_goodsno on goods (goodsno)
create index ix_goodscolor_goods on goodscolor (fgoodsid, fcolorid)
create index ix_goodscolor_colorno on goodscolor (ColorNo)
create index ix_ba_goodscolor_goods on ba_goodscolor (fgoodsid, fcolorid)
create index ix_ba_goodscolor_colorno on ba_goodscolor (ColorNo)
create index ix_goodsimage_goods on GoodsImage (fgoodsid)
create index ix_goodsitemprice_goods on goodsitemprice (fgoodsid)
create index ix_goodssize_goods on goodssize (goodsid)
-- The value lists grow with the goods (updategoodsfield) and are read by field.
create index ix_ba_fieldvalues_field on ba_fieldvalues (ftablename, ffieldname, fFieldValues)

-- Tables of the wider business system that the master data only reads: stock,
-- piece serial numbers and the documents. They decide whether a goods item,
-- a client or a supplier "has business" and may no longer be deleted.

-- Warehouse stock per goods colour.
create table stock (
    fautoid int identity(1,1) not null primary key,
    fhousecode varchar(30) null,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    qty int null default 0
)

-- Piece serial numbers: barcode 1 plus four digits, with a verification code.
-- Dates are kept as the workstation wrote them. No goods attribute column may
-- appear here: an attribute condition is appended to its join with vgoodscolor.
create table barcodeguid (
    fautoid int identity(1,1) not null primary key,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fsize varchar(30) null,
    frecid int null,
    fbarcode varchar(60) null,
    fcode varchar(6) null,
    finputdate varchar(10) null,
    finputuser varchar(30) null,
    fflag bit null default 0,
    fflagdate varchar(10) null,
    fflagmode varchar(20) null
)

-- The documents, kept flat: one row per document line. Documents with goods
-- lines carry the goods, colour and quantity; money documents only an amount.
create table d_sale (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fclientcode varchar(30) null,
    fbilldate datetime null,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fqty int null default 0,
    fprice money null default 0
)

create table d_order (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fclientcode varchar(30) null,
    fbilldate datetime null,
    fbatchno varchar(30) null,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fqty int null default 0,
    fprice money null default 0
)

create table d_charges (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fclientcode varchar(30) null,
    fbilldate datetime null,
    fitem varchar(50) null,
    fmoney money null default 0
)

create table d_payment (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fclientcode varchar(30) null,
    fbilldate datetime null,
    faccount varchar(30) null,
    fmoney money null default 0
)

create table d_receving (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fsuppliercode varchar(30) null,
    fbilldate datetime null,
    fhousecode varchar(30) null,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fqty int null default 0,
    fprice money null default 0
)

create table d_purchase (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fsuppliercode varchar(30) null,
    fbilldate datetime null,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fqty int null default 0,
    fprice money null default 0
)

create table d_chargess (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fsuppliercode varchar(30) null,
    fbilldate datetime null,
    fitem varchar(50) null,
    fmoney money null default 0
)

create table d_payments (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fsuppliercode varchar(30) null,
    fbilldate datetime null,
    faccount varchar(30) null,
    fmoney money null default 0
)

-- The delete checks look these up by code.
create index ix_stock_goods on stock (fgoodsid)
create index ix_barcodeguid_goods on barcodeguid (fgoodsid)
create index ix_barcodeguid_barcode on barcodeguid (fbarcode)
create index ix_d_sale_goods on d_sale (fgoodsid)
create index ix_d_sale_client on d_sale (fclientcode)
create index ix_d_order_goods on d_order (fgoodsid)
create index ix_d_order_client on d_order (fclientcode)
create index ix_d_receving_goods on d_receving (fgoodsid)
create index ix_d_receving_supplier on d_receving (fsuppliercode)
create index ix_d_purchase_goods on d_purchase (fgoodsid)
create index ix_d_purchase_supplier on d_purchase (fsuppliercode)

-- Clients and shops. fid (from V_GetPassWord12) is the tree key, fcode the
-- business key; top-level clients have fparentid ' '. The clients whose codes
-- have shifts in ba_squad are the shops.
create table dt_client (
    fid varchar(12) not null primary key,
    fparentid varchar(12) null,
    fcode varchar(30) not null unique,
    fname varchar(100) null,
    fabbrev varchar(50) null,
    fmathod varchar(20) null,
    fgrad varchar(20) null,
    fprice_type varchar(20) null,
    fareacode varchar(30) null,
    fdeptcode varchar(30) null,
    frpdtmancode varchar(30) null,
    fkeyman varchar(30) null,
    fcontactman varchar(30) null,
    ftel1 varchar(30) null,
    ftel2 varchar(30) null,
    ffax varchar(30) null,
    fzipcode varchar(10) null,
    femail varchar(50) null,
    fqym varchar(30) null,
    fhttp varchar(100) null,
    faddres varchar(200) null,
    first_amount money null default 0,
    stratbit bit null default 1,
    remark varchar(500) null,
    fcredit_type varchar(4) null,
    fcredit money null default 0,
    ftaxtype varchar(4) null,
    ftaxrate decimal(18,2) null default 0,
    finvoice_name varchar(100) null,
    finvoice_addres varchar(200) null,
    bank_name varchar(100) null,
    bank_no varchar(50) null,
    fpayMentmode varchar(30) null,
    begindate datetime null,
    enddate datetime null,
    firstcharges money null default 0,
    fuserid varchar(30) null,
    fusercode varchar(30) null,
    fusername varchar(30) null,
    fuserpass varchar(30) null,
    discount1 decimal(18,4) null default 1,
    discount2 decimal(18,4) null default 1,
    discount3 decimal(18,4) null default 1,
    discount4 decimal(18,4) null default 1,
    discount5 decimal(18,4) null default 1,
    discount6 decimal(18,4) null default 1,
    ftaxcode varchar(30) null,
    ysk_acccode1 varchar(30) null,
    ysk_acccode2 varchar(30) null,
    flinkemail varchar(50) null,
    fclientBrand varchar(50) null,
    fclientMuBrand varchar(50) null,
    fgoodsstyle varchar(50) null,
    fclientMode varchar(20) null,
    fyearmoney varchar(30) null,
    fshoptye varchar(30) null,
    fshopcount varchar(30) null,
    fshoparea varchar(30) null,
    fshopaddres varchar(200) null,
    fordertime varchar(30) null,
    fordertype varchar(30) null,
    fsalemode varchar(30) null,
    fsalearea varchar(30) null,
    fsaleaddres varchar(200) null,
    fpurchasetype varchar(30) null,
    fmatch varchar(30) null,
    flinkname varchar(30) null,
    flinkmobile varchar(30) null,
    flinksex varchar(4) null,
    flinkbirthdate datetime null,
    fpackltd varchar(100) null,
    fpacktel varchar(30) null,
    fpacklinkname varchar(30) null,
    fpackaddres varchar(200) null,
    fshipltd varchar(100) null,
    fshiptel varchar(30) null,
    fshiplinkname varchar(30) null,
    fshipaddres varchar(200) null
)

