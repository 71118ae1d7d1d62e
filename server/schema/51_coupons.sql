-- Cash coupons: numbered vouchers of a face value with a validity period,
-- made in batches (status 1, 未发放), issued to shops by their barcodes (2,
-- 已发放), used by a shop's sale (3, 已消费) or expired (4, 已失效); 3 and 4
-- are written by the sales side. fcardno is the number people read, prefix
-- plus serial; fpassword the barcode printed on the coupon, a fresh key of
-- v_Getpassword12. Both are unique: a barcode is cash and must find exactly
-- one coupon.
create table D_MoneyCard (
    fcardno varchar(30) not null primary key,
    fpassword varchar(30) not null,
    fmoney money null,
    fbegindate date null,
    fenddate date null,
    fstatus int null default 1,
    finputdate date null,
    finputuser varchar(30) null,
    fclientcode varchar(30) null,
    fclientno varchar(12) null,
    foutemp varchar(30) null,
    foutdate date null,
    foutuser varchar(30) null,
    fuserclientcode varchar(30) null,
    fsaledate date null,
    fsalebillid varchar(30) null,
    fremark varchar(100) null,
    fname varchar(30) null,
    fmobile varchar(30) null,
    fcheck bit null default 0
)

create unique index ix_d_moneycard_password on D_MoneyCard (fpassword)
create index ix_d_moneycard_validity on D_MoneyCard (fbegindate, fenddate)
