-- Tag printing by quantities: the print quantity list (one row per goods item
-- and colour, quantities in the size slots) and the pieces it expands into.
-- Both are scratch tables shared by the batch printing and the serial number
-- windows; whoever prepares labels empties them.
create table barcodedetail (
    fautoid int identity(1,1) not null primary key,
    fGoodsId varchar(30) null,
    fcolorid varchar(30) null,
    qty int null default 0,
    s1 int null default 0,
    s2 int null default 0,
    s3 int null default 0,
    s4 int null default 0,
    s5 int null default 0,
    s6 int null default 0,
    s7 int null default 0,
    s8 int null default 0,
    s9 int null default 0,
    s10 int null default 0,
    s11 int null default 0,
    s12 int null default 0,
    s13 int null default 0,
    s14 int null default 0,
    s15 int null default 0,
    s16 int null default 0,
    s17 int null default 0,
    s18 int null default 0,
    s19 int null default 0,
    s20 int null default 0,
    s21 int null default 0,
    s22 int null default 0,
    s23 int null default 0,
    s24 int null default 0,
    s25 int null default 0,
    s26 int null default 0,
    s27 int null default 0,
    s28 int null default 0,
    s29 int null default 0,
    s30 int null default 0,
    fretailprice decimal(18,2) null,
    fremark varchar(200) null
)

-- One row per piece, filled by get_barcodetemp. No index: it is refilled
-- whole every time and only ever read whole.
create table barcode_temp (
    fgoodsid varchar(30) null,
    fcolorid varchar(30) null,
    fsize varchar(30) null
)

-- The numbers 1..n that get_barcodetemp joins a slot quantity with to make
-- one row per piece; it grows to the largest quantity ever asked for.
create table barcode_pieceno (
    n int not null primary key
)
