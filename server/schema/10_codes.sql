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
