-- Cost recalculation: the stock snapshots (结存) the wider business system
-- takes of the warehouses and shops, the opening balances with their unit cost
-- that the recalculation windows prepare from a snapshot, and the two table
-- functions that value a period.
--
-- A snapshot is a row of hstock (hs_stock for shops) naming the table that
-- holds its quantities; that table has the columns fhousecode (fclientcode),
-- fgoodsid and qty and is made by whoever takes the snapshot.

create table hstock (
    fhousecode varchar(30) not null,
    stockdate datetime not null,
    tablename varchar(60) null,
    primary key (fhousecode, stockdate)
)

create table hs_stock (
    fclientcode varchar(30) not null,
    stockdate datetime not null,
    tablename varchar(60) null,
    primary key (fclientcode, stockdate)
)

-- Opening balance of a goods item in a warehouse at a snapshot date, and the
-- unit cost it is valued at (empty until the recalculation computes it).
create table hstock_planprice (
    fhousecode varchar(30) not null,
    fgoodsid varchar(30) not null,
    fdate datetime not null,
    fqty int null default 0,
    fplanprice float null,
    primary key (fhousecode, fdate, fgoodsid)
)

create table hSstock_planprice (
    fclientcode varchar(30) not null,
    fgoodsid varchar(30) not null,
    fdate datetime not null,
    fqty int null default 0,
    fplanprice float null,
    primary key (fclientcode, fdate, fgoodsid)
)

-- Receipts are read by warehouse (shop) and date.
create index ix_d_receving_house on d_receving (fhousecode, fbilldate)
create index ix_d_sale_client_date on d_sale (fclientcode, fbilldate)

-- The unit cost of a period, from @from (an opening balance date, or a date
-- before any) to @to, both 'yyyy-MM-dd':
--
--   unit cost = (opening quantity x opening unit cost + receipts amount)
--             / (opening quantity + receipts quantity)
--
-- The opening balance is the hstock_planprice row at fdate = @from. An
-- opening unit cost of 0 (goods the auto-fill added, never costed) is left
-- out, quantity and amount, so the receipts' own average counts. Receipts are
-- the warehouse's d_receving rows dated after @from up to and including @to
-- (any time of that day); their amount is quantity x price. The goods are
-- those with an opening balance or a receipt in the period. Where the divisor
-- is not positive (no quantity, or returns outweigh receipts) the unit cost is
-- the current reference cost. fprice rounds the unit cost to the price
-- decimals (config 50009's mode, 2 when there is none: a function cannot see
-- the session); fplan, what the recalculation adopts, is fprice, or the
-- current reference cost when the period has no quantity, so an imported or
-- discount-filled cost is never replaced by 0. No column may be called
-- fplanprice: the opening-balance update names it unqualified.
create function dbo.FN_HousePlanprice(@house varchar(30), @from datetime, @to datetime)
returns table as return (
    select c.fgoodsid, c.firstqty, c.firstsumto, c.receqty, c.recesumto, c.planprice,
        round(c.planprice, d.places) as fprice,
        case when c.costqty + c.receqty > 0 then round(c.planprice, d.places)
            else c.planprice end as fplan
    from (
        select g.fgoodsid, g.firstqty, g.firstsumto, g.receqty, g.recesumto, g.costqty,
            case when g.costqty + g.receqty > 0
                then (g.firstsumto + g.recesumto) / (g.costqty + g.receqty)
                else convert(float, isnull(p.planprice, 0)) end as planprice
        from (
            select u.fgoodsid, sum(u.firstqty) as firstqty, sum(u.firstsumto) as firstsumto,
                sum(u.costqty) as costqty, sum(u.receqty) as receqty,
                sum(u.recesumto) as recesumto
            from (
                select fgoodsid, convert(float, isnull(fqty, 0)) as firstqty,
                    convert(float, isnull(fqty, 0)) * convert(float, isnull(fplanprice, 0))
                        as firstsumto,
                    case when isnull(fplanprice, 0) = 0 then convert(float, 0)
                        else convert(float, isnull(fqty, 0)) end as costqty,
                    convert(float, 0) as receqty, convert(float, 0) as recesumto
                from hstock_planprice
                where fhousecode = @house and fdate = @from
                union all
                select fgoodsid, convert(float, 0), convert(float, 0), convert(float, 0),
                    convert(float, sum(isnull(fqty, 0))),
                    sum(convert(float, isnull(fqty, 0)) * convert(float, isnull(fprice, 0)))
                from d_receving
                where fhousecode = @house and fbilldate > @from
                    and dbo.getdate1(fbilldate) > @from and dbo.getdate1(fbilldate) <= @to
                group by fgoodsid
            ) u
            group by u.fgoodsid
        ) g
        left join planprice p on p.fgoodsid = g.fgoodsid
    ) c
    cross join (select isnull(max(mode), 2) as places from config where [id] = 50009) d
)

-- The same for a shop: its opening balances in hSstock_planprice, its
-- receipts the d_sale rows sold to it (fclientcode) in the period, and where
-- the divisor is not positive the shop's current cost, else the reference
-- cost. Only the unit cost is returned; the shop cost keeps two decimals.
create function dbo.FN_ClientPlanprice(@shop varchar(30), @from datetime, @to datetime)
returns table as return (
    select g.fgoodsid, g.firstqty, g.firstsumto, g.receqty, g.recesumto,
        case when g.costqty + g.receqty > 0
            then (g.firstsumto + g.recesumto) / (g.costqty + g.receqty)
            else convert(float, isnull(s.fplanprice, isnull(p.planprice, 0))) end as planprice
    from (
        select u.fgoodsid, sum(u.firstqty) as firstqty, sum(u.firstsumto) as firstsumto,
            sum(u.costqty) as costqty, sum(u.receqty) as receqty, sum(u.recesumto) as recesumto
        from (
            select fgoodsid, convert(float, isnull(fqty, 0)) as firstqty,
                convert(float, isnull(fqty, 0)) * convert(float, isnull(fplanprice, 0))
                    as firstsumto,
                case when isnull(fplanprice, 0) = 0 then convert(float, 0)
                    else convert(float, isnull(fqty, 0)) end as costqty,
                convert(float, 0) as receqty, convert(float, 0) as recesumto
            from hSstock_planprice
            where fclientcode = @shop and fdate = @from
            union all
            select fgoodsid, convert(float, 0), convert(float, 0), convert(float, 0),
                convert(float, sum(isnull(fqty, 0))),
                sum(convert(float, isnull(fqty, 0)) * convert(float, isnull(fprice, 0)))
            from d_sale
            where fclientcode = @shop and fbilldate > @from
                and dbo.getdate1(fbilldate) > @from and dbo.getdate1(fbilldate) <= @to
            group by fgoodsid
        ) u
        group by u.fgoodsid
    ) g
    left join (select fgoodsid, max(fplanprice) as fplanprice from dt_clientplanprice
        where fclientcode = @shop group by fgoodsid) s on s.fgoodsid = g.fgoodsid
    left join planprice p on p.fgoodsid = g.fgoodsid
)
