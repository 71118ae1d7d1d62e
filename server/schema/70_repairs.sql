-- Garment repairs: a note per client return, one line per returned item that
-- goes to the factory, comes back and returns to the client, and follow-up
-- remarks per line.

-- fbillid is yyMMdd + "K" + a four-digit count of the day's notes, taken in
-- the saving transaction; the unique key turns two workstations taking the
-- same number at once into a retry instead of a duplicate.
create table d_GoodsReturnNote (
    fbillid varchar(30) not null primary key,
    fmanualid varchar(30) null,
    fbilldate date not null,
    fclientcode varchar(30) not null,
    fkeyman varchar(30) null,
    fbilltype varchar(50) null,
    fremark varchar(200) null,
    finputdate varchar(10) null,
    finputuser varchar(30) null,
    finputusername varchar(50) null,
    fposted bit not null default 0,
    fposteduser varchar(30) null,
    fposteddate date null,
    fstatus int null default 0,
    fclick int null default 0,
    freturn int null default 0
)

create index ix_goodsreturnnote_date on d_GoodsReturnNote (fbilldate)

-- Quantities: fsupqty sent to the factory, fsupreturnqty received back,
-- fcliqty returned to the client; fanswerint counts the line's follow-ups.
create table d_GoodsReturnNoteDetail (
    fautoid int identity(1, 1) primary key,
    fbillid varchar(30) not null,
    fgoodsid varchar(30) not null,
    fcolorid varchar(30) not null,
    fsize varchar(30) null,
    fieldname varchar(10) null,
    fretailprice money null default 0,
    fbalancprice money null default 0,
    fqty int null default 0,
    freturnremark varchar(200) null,
    fisnew varchar(4) null,
    fsuppliercode varchar(30) null,
    fsupqty int null default 0,
    fsupdate date null,
    fsupreturnqty int null default 0,
    fsupreturndate date null,
    fcliqty int null default 0,
    fclidate date null,
    fremark varchar(200) null,
    fflag bit not null default 0,
    fanswerint int null default 0
)

create index ix_goodsreturnnotedetail_bill on d_GoodsReturnNoteDetail (fbillid)
create index ix_goodsreturnnotedetail_goods on d_GoodsReturnNoteDetail (fgoodsid)

-- fgoodsbillid is the note number followed by the line's fautoid: the key
-- that ties a remark to its line.
create table d_GoodsReturnTran (
    fautoid int identity(1, 1) primary key,
    fbillid varchar(30) not null,
    fBillAutoid int null,
    fgoodsbillid varchar(60) not null,
    fTranRemark varchar(500) null,
    finputuser varchar(30) null,
    finputusername varchar(50) null,
    finputdate varchar(10) null
)

create index ix_goodsreturntran_line on d_GoodsReturnTran (fgoodsbillid)
