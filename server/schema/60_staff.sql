-- Staff: the salespersons of each shop, and the department and employee lists
-- the employee picker offers. Employees themselves (dt_employee, v_employee)
-- are with the partners, whom they serve as salespersons.

-- The salespersons of a shop. The windows read it joined to v_employee with
-- unqualified name columns, so it must not hold fnamech, fsex, fdeptname or
-- ftypename of its own. An employee is listed once per shop.
create table Dt_ShopEmp (
    fclientcode varchar(30) not null,
    fempcode varchar(30) not null,
    fstrat bit null default 1,
    primary key (fclientcode, fempcode)
)

create index ix_dt_shopemp_emp on Dt_ShopEmp (fempcode)

-- Departments for tree look-ups: code, parent, name.
create view v_dept as
select fCode as fcode, fparentcode, fName as fname
from ba_Department

-- Employees to choose from, each with the selection mark checkid and the
-- names of their department and type. Those who have left are not offered.
create function dbo.FN_EmpSelect() returns table as return (
    select convert(bit,0) as checkid, a.fcode, a.fnamech, a.fSex as fsex,
        b.fName as deptname, c.fName as typename
    from dt_employee a
    left join ba_Department b on a.fdeptcode=b.fCode
    left join ba_Etype c on a.fTypecode=c.fid
    where a.fOutTime is null)
