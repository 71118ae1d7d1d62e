-- Client terms and targets: discount rates per client and goods category,
-- return and exchange ratios, order targets per order batch, minimum order
-- quantities per goods colour and monthly sales targets per shop. The six
-- contract discount rates of a client are columns of dt_client; their names
-- are the company's, kept in ba_fieldremark (dt_client, discount1 .. 6).
-- Client codes are as wide as dt_client.fcode.

-- Discount rates of a client for a goods category (brand, year, season,
-- category). fid is numbered by the window (highest plus one); two windows
-- numbering at once are kept apart by the key.
create table cust_lbdiscount (
    fid int not null primary key,
    fclientcode varchar(30) null,
    brand varchar(30) null,
    ayear varchar(4) null,
    season varchar(10) null,
    sort varchar(30) null,
    discount1 decimal(18,2) null,
    discount2 decimal(18,2) null,
    discount3 decimal(18,2) null,
    discount4 decimal(18,2) null,
    discount5 decimal(18,2) null,
    discount6 decimal(18,2) null
)

create index ix_cust_lbdiscount_client on cust_lbdiscount (fclientcode)

-- Return and exchange ratios, one row per client. An empty period is refused
-- by the window, so the column itself may be empty.
create table exchange_ratio (
    fClientCode varchar(30) not null primary key,
    exchange_lb varchar(10) null,
    exchange_day int null,
    futures_ratio decimal(9,2) null,
    merchandlse_ratio decimal(9,2) null,
    sever_ratio decimal(9,2) null,
    fanning_ratio decimal(9,2) null,
    field1_ratio decimal(9,2) null,
    field2_ratio decimal(9,2) null,
    merchandlse_bit bit null default 0,
    strat bit null default 0
)

-- The order target of a client within an order batch (ba_BatchInfo.fBatchName
-- of 'd_order'); a client has one target per batch.
create table d_orderTarget (
    fautoid int identity(1,1) not null primary key,
    fBatchNo varchar(30) null,
    fClientCode varchar(30) null,
    fMoney decimal(18,2) null default 0,
    fInputDate datetime null,
    fInputuser varchar(30) null,
    fPosted bit null default 0,
    fPostedDate datetime null,
    fPostedUser varchar(30) null,
    fRemark varchar(100) null
)

create unique index ix_d_orderTarget_batch_client on d_orderTarget (fBatchNo, fClientCode)

-- The minimum order quantity of a goods colour.
create table ba_GoodsOrderSoure (
    fgoodsid varchar(30) not null,
    fcolorid varchar(30) not null,
    ordersoure int null default 0,
    primary key (fgoodsid, fcolorid)
)

-- Monthly sales targets of a shop for a year.
create table ba_salesoure (
    fclientcode varchar(30) not null,
    ayear int not null,
    m1 decimal(18,2) null,
    m2 decimal(18,2) null,
    m3 decimal(18,2) null,
    m4 decimal(18,2) null,
    m5 decimal(18,2) null,
    m6 decimal(18,2) null,
    m7 decimal(18,2) null,
    m8 decimal(18,2) null,
    m9 decimal(18,2) null,
    m10 decimal(18,2) null,
    m11 decimal(18,2) null,
    m12 decimal(18,2) null,
    primary key (fclientcode, ayear)
)
