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

-- Failed logins in a row per user number typed (user or not), and when the
-- last one was; the next attempt waits longer the more there are. A successful
-- login removes the row.
create table md_loginfailure (
    userno varchar(30) not null primary key,
    failures int not null,
    lastfailure datetime not null
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

-- The schema this database was brought to (one row): its version, the
-- fingerprint of the schema script and when. Opening compares them with the
-- program's own (server/schemaupgrade.h); a database without the table is the
-- first build's, version 1.
create table md_schemaversion (
    id int not null primary key,
    version int not null,
    fingerprint varchar(64) not null,
    upgraded datetime null
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
