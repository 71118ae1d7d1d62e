-- A small schema for the translator's tests, written as the server's schema is:
-- tables, views, an inline table function and scalar functions in T-SQL.

create table dr_right (
    autoid int not null primary key,
    listname varchar(100) not null
)

create table dr_rightdetail (
    fautoid int identity(1,1) not null primary key,
    autoid int not null,
    groupid varchar(30) not null,
    b_add bit not null default 0,
    b_edit bit not null default 0,
    b_del bit not null default 0,
    b_browse bit not null default 0
)

create table usermainde (
    fautoid int identity(1,1) not null primary key,
    userno varchar(30) not null,
    fgroupid varchar(30) not null
)

create table userclient (
    fautoid int identity(1,1) not null primary key,
    fgroupid varchar(30) not null,
    fclientcode varchar(30) not null,
    fstockbit bit null
)

create table goods (
    goodsid varchar(30) not null primary key,
    GoodsNo varchar(12) null,
    goodsname varchar(50) null,
    size_class varchar(30) null,
    unitprice money null default 0,
    ayear int null,
    brand varchar(30) null,
    sort varchar(30) null,
    inputdate datetime null default getdate(),
    lastupdate date null
)

create table goodscolor (
    fautoid int identity(1,1) not null,
    GoodsNo varchar(12) null,
    fgoodsid varchar(30) not null,
    fcolorid varchar(30) not null,
    ColorNo varchar(30) null,
    constraint pk_goodscolor primary key (fgoodsid, fcolorid)
)

create table ba_color (
    colorid varchar(30) not null primary key,
    colorname_ch varchar(30) null,
    colorname_en varchar(30) null
)

create table ba_goodscolor (
    fautoid int identity(1,1) not null primary key,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fcolor varchar(50) null,
    ColorNo varchar(30) null
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

create table ba_fieldremark (
    fid int not null primary key,
    ftablename varchar(30) null,
    fname varchar(30) null,
    fFieldremark varchar(50) null,
    visiblebit bit not null default 1
)

create table repofield (
    fieldname varchar(30) not null primary key,
    fieldremark varchar(50) null
)

create table mr_goods (
    goodsid varchar(30) not null primary key,
    goodsname varchar(50) null,
    fnewgoodsid varchar(30) null
)

create table mr_smp (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    foldgoodsid varchar(30) null,
    fgoodsid varchar(30) null
)

create table config (
    [id] int not null primary key,
    mode int null
)

create table planprice (
    fautoid int identity(1,1) not null primary key,
    fgoodsid varchar(30) not null unique,
    planprice decimal(18,2) null,
    GoodsNo varchar(12) null
)

create table dt_supplierprice (
    fautoid int identity(1,1) not null primary key,
    fsuppliercode varchar(30) null,
    fgoodsid varchar(30) null,
    fmasterialprice money null,
    fmanualprice money null
)

create table hstock_planprice (
    fautoid int identity(1,1) not null primary key,
    fhousecode varchar(30) null,
    fgoodsid varchar(30) null,
    fdate varchar(10) null,
    fqty int null,
    fplanprice money null
)

create table barcode (
    fautoid int identity(1,1) not null primary key,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fsize varchar(30) null,
    fbarcode1 varchar(30) null,
    fbarcode2 varchar(30) null,
    goodsno varchar(12) null,
    fcheck bit null default 0
)

create table barcode_color (
    fcolorid varchar(30) not null primary key,
    fbarcolorid varchar(30) null
)

create table d_GoodsReturnNote (
    fbillid varchar(30) not null primary key,
    fbilldate varchar(10) null,
    fclientcode varchar(30) null,
    fposted bit not null default 0
)

create table d_GoodsReturnNoteDetail (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fqty int null
)

create table KQ_EmpBanCi (
    fautoid int identity(1,1) not null primary key,
    fempcode varchar(30) null,
    fbilldate varchar(10) null,
    fbancicode varchar(10) null
)

create table kq_record (
    fautoid int identity(1,1) not null primary key,
    fcard_no varchar(30) null,
    date_time datetime null,
    fday date null
)

create view vgoodscolor as
select a.fgoodsid as goodsid, a.fcolorid as colorid, b.goodsname, c.colorname_ch, b.unitprice, b.ayear,
       b.brand, b.sort, b.size_class, convert(bit, 0) as delbit
from goodscolor a join goods b on a.fgoodsid = b.goodsid
left join ba_color c on a.fcolorid = c.colorid

create view vbarcode as
select a.fgoodsid as 货号, a.fcolorid as 颜色编号, a.fsize as 尺码, a.fbarcode1 as 条形码1, b.goodsname as 品名
from barcode a left join goods b on a.fgoodsid = b.goodsid

create view V_GetPassWord12 as
select left(replace(convert(varchar(36), newid()), '-', ''), 12) as fpassword

create function fn_checkgoods(@a varchar(30))
returns table
as
return (select convert(bit, 0) as checkid, goodsid, goodsname, ayear, brand, sort, size_class, unitprice, inputdate
        from goods)

create function FN_HousePlanprice(@house varchar(30), @from datetime, @to datetime)
returns table
as
return (select fgoodsid, sum(fqty) as firstqty, max(fplanprice) + 1 as planprice
        from hstock_planprice
        where fhousecode = @house and convert(datetime, fdate) between @from and @to
        group by fgoodsid)

create function dbo.getdate1(@d datetime) returns datetime
as
begin
    return convert(datetime, convert(varchar(10), @d, 120))
end

create function dbo.goodsname1(@id varchar(30)) returns varchar(50)
as
return (select goodsname from goods where goodsid = @id)
