-- Piece serial numbers: barcodeguid (21_business.sql) keeps every serial for
-- good; barcodeguidTemp holds the serials of the latest generation run only,
-- so the labels of a run print from it. One run at a time empties it.
create table barcodeguidTemp (
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

-- A run continues each variant after its highest record number: the summary
-- reads the maximum per variant from this index alone.
create index ix_barcodeguid_variant on barcodeguid (fgoodsid, fcolorid, fsize, frecid)

-- The label rows of the latest run ("产品序列号.frf" and the external label
-- programs), under the column names the report prints. The local copy for the
-- label programs takes these columns in this order.
create view vbarcodeGuid as
select a.fgoodsid as 货号, b.goodsname as 货品名称, a.fcolorid as 颜色编号,
    c.colorname_ch as 颜色, a.fsize as 尺码, a.fbarcode as 序列号, a.fcode as 验证码,
    b.unitprice as 吊牌价, b.brand as 品牌, a.frecid as 流水号, a.finputdate as 制单日期
from barcodeguidTemp a
left join goods b on a.fgoodsid=b.goodsid
left join ba_color c on a.fcolorid=c.colorid

-- Every serial, with the same columns, for reprinting chosen serials.
create view vbarcodeGuid2 as
select a.fgoodsid as 货号, b.goodsname as 货品名称, a.fcolorid as 颜色编号,
    c.colorname_ch as 颜色, a.fsize as 尺码, a.fbarcode as 序列号, a.fcode as 验证码,
    b.unitprice as 吊牌价, b.brand as 品牌, a.frecid as 流水号, a.finputdate as 制单日期
from barcodeguid a
left join goods b on a.fgoodsid=b.goodsid
left join ba_color c on a.fcolorid=c.colorid
