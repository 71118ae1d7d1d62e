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
