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

-- The barcode rows for the label reports ("吊牌.frf" and the like), under the
-- column names the report files print. The printed size and colour code fall
-- back to the row's own when left empty; 颜色 is the goods' own colour
-- description when it has one (one row per barcode even when the description
-- table holds two). One tag prints by barcode 1, hence its index.
create view vbarcode as
select a.fgoodsid as 货号, a.fcolorid as 颜色编号, a.fsize as 尺码,
    a.fbarcode1 as 条形码1, a.fbarcode2 as 条形码2,
    isnull(nullif(a.fprintsize,''), a.fsize) as 打印尺码,
    isnull(nullif(a.fprintcolorid,''), a.fcolorid) as 打印颜色编号,
    b.goodsname as 货品名称,
    isnull((select max(d.fcolor) from ba_goodscolor d
        where d.fgoodsid=a.fgoodsid and d.fcolorid=a.fcolorid), c.colorname_ch) as 颜色,
    b.unitprice as 吊牌价, b.brand as 品牌, b.ayear as 年份, b.season as 季节,
    b.sort as 类别, b.unit as 单位, b.style as 规格, b.patter as 款式,
    b.masterial as 面料, b.lining as 里料, b.standard as 执行标准, b.whence as 产地
from barcode a
left join goods b on a.fgoodsid=b.goodsid
left join ba_color c on a.fcolorid=c.colorid

create index ix_barcode_barcode1 on barcode (fbarcode1)

-- Goods x colours to choose from, each with the selection mark checkid. Every
-- description column is here, so an attribute condition resolves against it.
-- The argument is always empty; it stays for the callers' sake.
create function dbo.fn_checkgoodscolor(@filter varchar(30)) returns table as return (
    select convert(bit,0) as checkid, goodsid, goodsname, colorid, colorname_ch, brand, unit,
        sort, size_class, unitprice, strat, inputdate, goodssortid, ayear, season, style,
        item, patter, catena, sex, masterial, lining, mat, standard, whence,
        field1, field2, field3, field4
    from vgoodscolor)

-- The variants (goods x its colours x the sizes of its group) that have no
-- barcode row yet, with both codes empty for the wizard to compose. One
-- anti-join, so a million variants cost one pass; distinct because a colour or
-- a size may be listed twice, and the barcode key allows each variant once.
create function dbo.FN_barcodecheck() returns table as return (
    select distinct a.goodsid, c.fcolorid as colorid, s.size_name,
        convert(varchar(50),'') as fbarcode1, convert(varchar(50),'') as fbarcode2
    from goods a
    join goodscolor c on c.fgoodsid=a.goodsid
    join ba_size s on s.size_class=a.size_class
    left join barcode b on b.fgoodsid=a.goodsid and b.fcolorid=c.fcolorid and b.fsize=s.size_name
    where b.fgoodsid is null and c.fcolorid is not null and s.size_name is not null)

-- Goods to choose from, each with the selection mark checkid; every
-- description column, as for fn_checkgoodscolor. The argument is always empty.
create function dbo.fn_checkgoods(@filter varchar(30)) returns table as return (
    select convert(bit,0) as checkid, goodsid, goodsname, ayear, season, brand, unit, sort,
        item, sex, size_class, unitprice, strat, inputdate, goodssortid, style, patter, catena,
        masterial, lining, mat, standard, whence, field1, field2, field3, field4
    from goods)

-- Sample styles (版单款号) before production; fnewgoodsid is the goods code a
-- sample becomes. No column may be named fgoodsid: attribute conditions go
-- into sub-selects over this table as over goods.
create table mr_goods (
    goodsid varchar(30) not null primary key,
    goodsname varchar(50) null,
    brand varchar(30) null,
    ayear varchar(30) null,
    season varchar(30) null,
    sort varchar(30) null,
    size_class varchar(30) null,
    style varchar(30) null,
    masterial varchar(30) null,
    lining varchar(30) null,
    fnewgoodsid varchar(30) null,
    patter varchar(30) null,
    item varchar(30) null,
    whence varchar(30) null,
    unit varchar(30) null,
    catena varchar(30) null,
    sex varchar(30) null,
    unitprice money null default 0,
    standard varchar(30) null,
    mat varchar(30) null,
    inputdate datetime null,
    topdate datetime null,
    field1 varchar(30) null,
    field2 varchar(30) null,
    field3 varchar(30) null,
    field4 varchar(30) null
)

-- The colours of a sample style.
create table mr_goodscolor (
    fgoodsid varchar(30) not null,
    fcolorid varchar(30) not null,
    fcolor varchar(50) null,
    primary key (fgoodsid, fcolorid)
)

-- Sample documents of the wider system: foldgoodsid the sample code, fgoodsid
-- the goods code once the sample has become one.
create table mr_smp (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    foldgoodsid varchar(30) null,
    fgoodsid varchar(30) null,
    fbilldate datetime null,
    fremark varchar(200) null
)

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
