-- Wages: the wage items (工资项目) and the items each employee is paid.

-- fmode 1 adds to the pay, -1 deducts. Items marked fisSys come with the
-- system: every employee gets them and they are neither changed nor deleted.
-- fisSaleMoney marks the sales commission, which the pay run computes from
-- the employee's sales.
create table kq_wagesitem (
    fcode varchar(20) not null primary key,
    fname varchar(50) not null unique,
    fmode int not null default 1,
    fmoney money null default 0,
    fisSaleMoney bit not null default 0,
    fisSys bit not null default 0
)

-- The items of each employee. fmoney is the signed amount of the line: an
-- addition positive, a deduction negative (so the pay is the plain sum).
create table kq_empwages (
    fautoid int identity(1, 1) primary key,
    fempcode varchar(30) not null,
    fwagesitemcode varchar(20) not null,
    fmoney money null default 0
)

create index ix_kq_empwages_emp on kq_empwages (fempcode, fwagesitemcode)
