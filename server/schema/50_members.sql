-- VIP members: the card categories with their discount and points rules, and
-- one row per card. A card may be issued blank (numbered, no member yet) and
-- filled in later; its shop is a client code of dt_client.

-- Card categories. viplbid is "100" followed by the row count plus one, made
-- by the category window; two categories never share an id.
create table ba_viplb (
    viplbid varchar(30) not null primary key,
    vipLBname varchar(50) null,
    integrals decimal(18,2) null,
    discount decimal(18,4) null,
    consumeamount money null,
    integralscount decimal(18,2) null
)

-- Cards and their members. Text widths are those of the import's columns, so
-- a row the import accepts always fits.
create table dt_vipcard (
    vipid varchar(30) not null primary key,
    name varchar(50) null,
    sex varchar(10) null,
    encryptvip varchar(50) null,
    idcard varchar(50) null,
    workname varchar(50) null,
    earning varchar(20) null,
    engname varchar(50) null,
    birthdate date null,
    begaindate date null,
    enddate date null,
    vipgrade varchar(30) null,
    clientid varchar(30) null,
    tel varchar(50) null,
    mobiletel varchar(30) null,
    officetel varchar(50) null,
    email varchar(50) null,
    workaddres varchar(100) null,
    address varchar(100) null,
    zipcode varchar(20) null,
    frocksize varchar(30) null,
    waistline varchar(30) null,
    downsize varchar(30) null,
    height varchar(30) null,
    weight varchar(30) null,
    shoesize varchar(30) null,
    remark varchar(200) null,
    amount int null default 0,
    groupname varchar(50) null,
    leibie varchar(30) null
)

create index ix_dt_vipcard_client on dt_vipcard (clientid)
create index ix_dt_vipcard_grade on dt_vipcard (vipgrade)
