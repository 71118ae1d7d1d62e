-- Prices: the reference cost of every goods item, the shops' cost and retail
-- prices, the price bands and the sales commission scheme; and the shop stock
-- and shop sales of the wider business system, which the shop retail prices
-- show beside each goods colour. The six sales price levels are columns of
-- goods (price1 .. price6).

-- Reference cost price (参考成本价), one row per goods item. GoodsNo is the
-- goods item's, written when rows are made for every goods item at once.
create table planprice (
    fgoodsid varchar(30) not null primary key,
    planprice float null default 0,
    ftaxprice money null default 0,
    frepairprice money null default 0,
    GoodsNo varchar(12) null
)

-- A shop's cost price of a goods item.
create table dt_clientplanprice (
    fautoid int identity(1,1) not null primary key,
    fclientcode varchar(30) null,
    fgoodsid varchar(30) null,
    fplanprice decimal(18,2) null default 0
)

-- A shop's retail price of a goods colour; new rows start at the tag price.
create table retailprice (
    fclientcode varchar(30) not null,
    fgoodsid varchar(30) not null,
    fcolorid varchar(30) not null,
    fretailprice decimal(18,2) null default 0,
    primary key (fclientcode, fgoodsid, fcolorid)
)

-- Named price bands; the name is the key the list's own row statements use.
create table Ba_GoodsPriceRange (
    fname varchar(30) not null primary key,
    fbeginvalues money null default 0,
    fendvalues money null default 0
)

-- Sales and design commission per piece by business type and quantity range.
create table Ba_SaleValues (
    fautoid int identity(1,1) not null primary key,
    ftypename varchar(30) null,
    fbeginqty int null default 0,
    fendqty int null default 0,
    fsalevalues decimal(18,2) null default 0,
    fmadivalues decimal(18,2) null default 0
)

-- Shop stock: one row per shop and goods colour, so a list joining it keeps
-- one row per goods colour.
create table s_stock (
    fclientcode varchar(30) not null,
    fgoodsid varchar(30) not null,
    fcolorid varchar(30) not null,
    qty int null default 0,
    primary key (fclientcode, fgoodsid, fcolorid)
)

-- Shop sales (retail receipts): the header names the shop, the lines the goods.
create table d_s_sale (
    fbillid varchar(30) not null primary key,
    fclientcode varchar(30) null,
    fbilldate datetime null
)

create table d_s_saledetail (
    fautoid int identity(1,1) not null primary key,
    fbillid varchar(30) null,
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    qty int null default 0,
    fprice money null default 0
)

-- The goods a shop carries: those it holds stock of, has sold, has ordered or
-- has been delivered (sold to it). One row per shop and goods item, so a join
-- with the goods colours lists each colour once.
create view vShopGoodscolor as
select fclientcode, fgoodsid from s_stock
union
select b.fclientcode, a.fgoodsid from d_s_saledetail a join d_s_sale b on a.fbillid=b.fbillid
union
select fclientcode, fgoodsid from d_order where fclientcode is not null and fgoodsid is not null
union
select fclientcode, fgoodsid from d_sale where fclientcode is not null and fgoodsid is not null

create index ix_dt_clientplanprice_shop on dt_clientplanprice (fclientcode, fgoodsid)
create index ix_s_stock_goods on s_stock (fgoodsid)
create index ix_d_s_sale_client on d_s_sale (fclientcode)
create index ix_d_s_saledetail_bill on d_s_saledetail (fbillid)
create index ix_d_s_saledetail_goods on d_s_saledetail (fgoodsid)
