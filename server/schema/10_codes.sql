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

-- Warehouses. fid (from V_GetPassWord12) is the row's key, fcode the code
-- people use; at most one warehouse is the head warehouse (strat_bit).
create table dt_house (
    fid varchar(12) not null primary key,
    fcode varchar(30) null,
    fname varchar(50) null,
    keyman varchar(30) null,
    tel1 varchar(30) null,
    tel2 varchar(30) null,
    fax varchar(30) null,
    addres varchar(100) null,
    fAreacode varchar(30) null,
    strat_bit bit null default 0,
    typeid varchar(30) null,
    remark varchar(200) null
)

-- Storage locations: one row per warehouse, goods and colour that has one.
-- The locations form replaces a warehouse's rows whole.
create table dt_HstockLocal (
    fautoid int identity(1,1) not null primary key,
    fhousecode varchar(30) null,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fhouselocal varchar(50) null
)

-- Upper and lower stock limits per goods colour, for every warehouse alike.
create table Ba_housestockLimit (
    fgoodsid varchar(30) not null,
    fcolorid varchar(30) not null,
    fmaxstock int null default 0,
    fminstock int null default 0,
    primary key (fgoodsid, fcolorid)
)

-- Batch numbers, kept per document table (ftablename, "d_order" for orders).
create table ba_BatchInfo (
    fautoid int identity(1,1) not null primary key,
    ftablename varchar(30) null,
    fBatchName varchar(30) null,
    fDate datetime null,
    fType varchar(30) null,
    fRemark varchar(2000) null,
    fFlag bit null default 0,
    fInputdate datetime null,
    fInputUser varchar(30) null
)

create unique index ix_dt_house_code on dt_house (fcode)
create index ix_dt_hstocklocal_house on dt_HstockLocal (fhousecode)
create index ix_ba_batchinfo_table on ba_BatchInfo (ftablename)
