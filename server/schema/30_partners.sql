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

-- One photo per client (JPEG).
create table Dt_ClientImage (
    fcode varchar(30) not null primary key,
    fimage image null
)

-- The fixed assets of the shops.
create table Dt_Clientassets (
    fautoid int identity(1,1) not null primary key,
    fclientcode varchar(30) null,
    fassetsName varchar(50) null,
    fqty decimal(18,2) null default 0,
    fbalancprice decimal(18,2) null default 0,
    fremark varchar(250) null
)

-- The address book. fid is a number as text: 10001, then the largest row
-- number plus 10001.
create table DT_commuBook (
    fautoid int identity(1,1) not null primary key,
    fid varchar(30) null,
    fcatery varchar(30) null,
    fname varchar(30) null,
    fsex varchar(4) null,
    fbirthdate datetime null,
    fcallname varchar(30) null,
    fjob varchar(30) null,
    fspouse varchar(30) null,
    fkid varchar(30) null,
    funitname varchar(100) null,
    funitaddres varchar(200) null,
    funitzipcode varchar(10) null,
    funittel varchar(30) null,
    funitfax varchar(30) null,
    ffamilyaddres varchar(200) null,
    ffamilyzipcode varchar(10) null,
    ffamilytel varchar(30) null,
    fmobil varchar(30) null,
    fmovetel varchar(30) null,
    femail varchar(50) null,
    fqq varchar(30) null,
    fmsn varchar(50) null,
    fremark varchar(500) null,
    fareacode varchar(30) null,
    fisvip bit null default 0
)

-- Employees; fid is set equal to fcode on every save. fcacelType: 0 piece
-- rate, 1 monthly (the salespersons the client form offers).
create table dt_employee (
    fid varchar(30) null,
    fcode varchar(30) not null primary key,
    fBeatcardcode varchar(30) null,
    fnamech varchar(30) null,
    fnameen varchar(50) null,
    fBloodtype varchar(10) null,
    fTypecode varchar(50) null,
    fdeptcode varchar(30) null,
    fSex varchar(4) null,
    fJob varchar(30) null,
    fIdcard varchar(30) null,
    fTel varchar(30) null,
    fMobile varchar(30) null,
    fCollege varchar(50) null,
    fDegree varchar(20) null,
    fEmail varchar(50) null,
    fBirthAddress varchar(100) null,
    fAddres varchar(200) null,
    fBirthday datetime null,
    fcacelType int null default 1,
    userno varchar(30) null,
    fInTime datetime null,
    fOutTime datetime null,
    stratbit bit null default 0,
    fSpecial varchar(100) null,
    remark varchar(500) null
)

-- Employees with their department and type names; fbit 1 while the employee
-- has not left.
create view v_employee as
select a.fcode, a.fnamech, a.fSex as fsex, a.fdeptcode, b.fName as fdeptname,
    c.fName as ftypename, a.fInTime as fintime,
    convert(bit, case when a.fOutTime is null then 1 else 0 end) as fbit
from dt_employee a
left join ba_Department b on a.fdeptcode=b.fCode
left join ba_Etype c on a.fTypecode=c.fid

-- Clients to choose from, each with the selection mark checkid and its
-- region's name. The argument is always empty.
create function dbo.fn_checkclient(@filter varchar(30)) returns table as return (
    select convert(bit,0) as checkid, a.fcode, a.fabbrev, a.fname, a.fmathod, a.fgrad,
        a.fprice_type, a.fareacode, b.fName as fareaname, a.fcontactman, a.ftel1, a.stratbit
    from dt_client a
    left join ba_Area b on a.fareacode=b.fCode)

create index ix_dt_client_parent on dt_client (fparentid)
create index ix_dt_clientassets_client on Dt_Clientassets (fclientcode)
create index ix_d_charges_client on d_charges (fclientcode)
create index ix_d_payment_client on d_payment (fclientcode)
